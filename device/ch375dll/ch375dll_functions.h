#pragma once
// The chip library's side of the wire: the functions CH375DLL.DLL exports,
// with the types and calling convention the library declares (WINAPI, the
// device index and lengths as 32-bit ULONG), and the two routines it calls
// back. The backend (ch375dll_library.h) and the test's stand-in library
// both build on these declarations.

#include <windows.h>

#include <array>
#include <string_view>

namespace qiru {

// The library's file, found by the system's search for a DLL (the program's
// folder first).
inline constexpr std::wstring_view kCh375DllFile = L"CH375DLL.DLL";
inline constexpr std::string_view kCh375DllFileName = "CH375DLL.DLL";

extern "C" {
// iEventStatus: 3 device arrived, 0 removed, 1 removal pending.
using Ch375DllNotifyRoutine = VOID(CALLBACK*)(ULONG iEventStatus);
// iStatus: the interrupt data block, byte 0 the report's length.
using Ch375DllIntRoutine = VOID(CALLBACK*)(PUCHAR iStatus);

using Ch375DllOpenDevice = HANDLE(WINAPI*)(ULONG iIndex);
using Ch375DllCloseDevice = VOID(WINAPI*)(ULONG iIndex);
using Ch375DllSetTimeout = BOOL(WINAPI*)(ULONG iIndex, ULONG iWriteTimeout, ULONG iReadTimeout);
using Ch375DllWriteData = BOOL(WINAPI*)(ULONG iIndex, PVOID iBuffer, PULONG ioLength);
using Ch375DllReadData = BOOL(WINAPI*)(ULONG iIndex, PVOID oBuffer, PULONG ioLength);
using Ch375DllResetDevice = BOOL(WINAPI*)(ULONG iIndex);
using Ch375DllSetIntRoutine = BOOL(WINAPI*)(ULONG iIndex, Ch375DllIntRoutine iIntRoutine);
using Ch375DllSetDeviceNotify = BOOL(WINAPI*)(ULONG iIndex, PCHAR iDeviceID, Ch375DllNotifyRoutine iNotifyRoutine);
}

// Every function the program uses; a library that lacks one is refused.
struct Ch375DllFunctions {
  Ch375DllSetDeviceNotify setDeviceNotify = nullptr;
  Ch375DllOpenDevice openDevice = nullptr;
  Ch375DllSetTimeout setTimeout = nullptr;
  Ch375DllWriteData writeData = nullptr;
  Ch375DllReadData readData = nullptr;
  Ch375DllResetDevice resetDevice = nullptr;
  Ch375DllSetIntRoutine setIntRoutine = nullptr;
  Ch375DllCloseDevice closeDevice = nullptr;
};

// The exported names, in the order of Ch375DllFunctions.
inline constexpr std::array<const char*, 8> kCh375DllFunctionNames = {
    "CH375SetDeviceNotify", "CH375OpenDevice", "CH375SetTimeout",    "CH375WriteData",
    "CH375ReadData",        "CH375ResetDevice", "CH375SetIntRoutine", "CH375CloseDevice",
};

}  // namespace qiru
