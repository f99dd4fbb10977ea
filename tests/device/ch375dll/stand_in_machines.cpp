#include "tests/device/ch375dll/stand_in_machines.h"

#include <cstring>

namespace qiru::testing {
namespace {

Ch375Library& machinesOf(void* context) { return *static_cast<Ch375Library*>(context); }

HANDLE WINAPI openDevice(void* context, ULONG index) {
  return reinterpret_cast<HANDLE>(machinesOf(context).openDevice(static_cast<int>(index)));
}

VOID WINAPI closeDevice(void* context, ULONG index) { machinesOf(context).closeDevice(static_cast<int>(index)); }

BOOL WINAPI setTimeout(void* context, ULONG index, ULONG writeTimeout, ULONG readTimeout) {
  return machinesOf(context).setTimeout(static_cast<int>(index), writeTimeout, readTimeout) != 0;
}

BOOL WINAPI writeData(void* context, ULONG index, PVOID buffer, PULONG length) {
  std::uint32_t ioLength = *length;
  const Ch375Result result =
      machinesOf(context).writeData(static_cast<int>(index), static_cast<const std::uint8_t*>(buffer), ioLength);
  *length = ioLength;
  return result != 0;
}

BOOL WINAPI readData(void* context, ULONG index, PVOID buffer, PULONG length) {
  std::uint32_t ioLength = *length;
  const Ch375Result result =
      machinesOf(context).readData(static_cast<int>(index), static_cast<std::uint8_t*>(buffer), ioLength);
  *length = ioLength;
  return result != 0;
}

BOOL WINAPI resetDevice(void* context, ULONG index) {
  return machinesOf(context).resetDevice(static_cast<int>(index)) != 0;
}

BOOL WINAPI setIntRoutine(void* context, ULONG index, Ch375DllIntRoutine routine) {
  Ch375InterruptRoutine handOn;
  if (routine) handOn = [routine](const std::uint8_t* data) { routine(const_cast<PUCHAR>(data)); };
  return machinesOf(context).setIntRoutine(static_cast<int>(index), std::move(handOn)) != 0;
}

BOOL WINAPI setDeviceNotify(void* context, ULONG index, PCHAR deviceId, Ch375DllNotifyRoutine routine) {
  Ch375PlugRoutine handOn;
  if (routine) handOn = [routine](std::uint32_t status) { routine(status); };
  const std::string_view id = deviceId ? std::string_view(deviceId) : std::string_view();
  return machinesOf(context).setDeviceNotify(static_cast<int>(index), id, std::move(handOn)) != 0;
}

}  // namespace

StandInMachines::StandInMachines(Ch375Library& machines, const std::wstring& file)
    : target_{&machines, openDevice, closeDevice, setTimeout, writeData,
              readData,  resetDevice, setIntRoutine, setDeviceNotify} {
  module_ = LoadLibraryW(file.c_str());
  if (!module_) return;
  const FARPROC proc = GetProcAddress(module_, "QiruStandInConnect");
  if (!proc) {
    FreeLibrary(module_);
    module_ = nullptr;
    return;
  }
  std::memcpy(&connect_, &proc, sizeof connect_);
  connect_(&target_);
}

StandInMachines::~StandInMachines() {
  if (!module_) return;
  connect_(nullptr);
  FreeLibrary(module_);
}

}  // namespace qiru::testing
