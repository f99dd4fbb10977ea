#pragma once
// How a test wires the stand-in CH375DLL.DLL to its virtual machines: the
// stand-in exports the chip library's functions and one more,
// QiruStandInConnect, through which the test hands it the functions that
// reach the machines. Plain C on both sides, as across any DLL boundary.

#include <windows.h>

#include "device/ch375dll/ch375dll_functions.h"

extern "C" {

struct QiruStandInTarget {
  void* context;
  HANDLE(WINAPI* openDevice)(void* context, ULONG index);
  VOID(WINAPI* closeDevice)(void* context, ULONG index);
  BOOL(WINAPI* setTimeout)(void* context, ULONG index, ULONG writeTimeout, ULONG readTimeout);
  BOOL(WINAPI* writeData)(void* context, ULONG index, PVOID buffer, PULONG length);
  BOOL(WINAPI* readData)(void* context, ULONG index, PVOID buffer, PULONG length);
  BOOL(WINAPI* resetDevice)(void* context, ULONG index);
  BOOL(WINAPI* setIntRoutine)(void* context, ULONG index, qiru::Ch375DllIntRoutine routine);
  BOOL(WINAPI* setDeviceNotify)(void* context, ULONG index, PCHAR deviceId, qiru::Ch375DllNotifyRoutine routine);
};

// target: the machines from now on; none: no machines (every call fails).
using QiruStandInConnectFunction = VOID(WINAPI*)(const QiruStandInTarget* target);

}  // extern "C"
