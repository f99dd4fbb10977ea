// A stand-in for the chip vendor's CH375DLL.DLL, for the tests: it exports
// the library's functions under their names with its calling convention and
// hands every call on to virtual machines that the test connects
// (stand_in_wiring.h). Built once whole and once without
// CH375SetIntRoutine, as a library of the wrong version would be.

#include <atomic>

#include "tests/device/ch375dll/stand_in_wiring.h"

namespace {

std::atomic<const QiruStandInTarget*> connected{nullptr};

}  // namespace

extern "C" {

VOID WINAPI QiruStandInConnect(const QiruStandInTarget* target) { connected = target; }

HANDLE WINAPI CH375OpenDevice(ULONG iIndex) {
  const QiruStandInTarget* target = connected;
  return target ? target->openDevice(target->context, iIndex) : INVALID_HANDLE_VALUE;
}

VOID WINAPI CH375CloseDevice(ULONG iIndex) {
  if (const QiruStandInTarget* target = connected) target->closeDevice(target->context, iIndex);
}

BOOL WINAPI CH375SetTimeout(ULONG iIndex, ULONG iWriteTimeout, ULONG iReadTimeout) {
  const QiruStandInTarget* target = connected;
  return target ? target->setTimeout(target->context, iIndex, iWriteTimeout, iReadTimeout) : FALSE;
}

BOOL WINAPI CH375WriteData(ULONG iIndex, PVOID iBuffer, PULONG ioLength) {
  const QiruStandInTarget* target = connected;
  return target ? target->writeData(target->context, iIndex, iBuffer, ioLength) : FALSE;
}

BOOL WINAPI CH375ReadData(ULONG iIndex, PVOID oBuffer, PULONG ioLength) {
  const QiruStandInTarget* target = connected;
  return target ? target->readData(target->context, iIndex, oBuffer, ioLength) : FALSE;
}

BOOL WINAPI CH375ResetDevice(ULONG iIndex) {
  const QiruStandInTarget* target = connected;
  return target ? target->resetDevice(target->context, iIndex) : FALSE;
}

#if !defined(QIRU_STAND_IN_LACKS_INT_ROUTINE)
BOOL WINAPI CH375SetIntRoutine(ULONG iIndex, qiru::Ch375DllIntRoutine iIntRoutine) {
  const QiruStandInTarget* target = connected;
  return target ? target->setIntRoutine(target->context, iIndex, iIntRoutine) : FALSE;
}
#endif

BOOL WINAPI CH375SetDeviceNotify(ULONG iIndex, PCHAR iDeviceID, qiru::Ch375DllNotifyRoutine iNotifyRoutine) {
  const QiruStandInTarget* target = connected;
  return target ? target->setDeviceNotify(target->context, iIndex, iDeviceID, iNotifyRoutine) : FALSE;
}

}  // extern "C"
