#include "device/ch375dll/ch375dll_library.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <string>
#include <utility>

#include "device/ch375dll/ch375dll_loader.h"

namespace qiru {
namespace {

// One device index's routines, as the program installed them. Process-wide,
// because the library's callbacks carry no pointer back to an object.
struct RoutineSlot {
  std::mutex plugMutex;  // held while the plug routine runs
  Ch375PlugRoutine plugRoutine;
  std::mutex interruptMutex;  // held while the interrupt routine runs
  Ch375InterruptRoutine interruptRoutine;
};

std::array<RoutineSlot, kCh375DllDeviceSlots> routineSlots;

template <int Index>
VOID CALLBACK onPlugNotice(ULONG eventStatus) {
  RoutineSlot& slot = routineSlots[Index];
  std::lock_guard guard(slot.plugMutex);
  if (slot.plugRoutine) slot.plugRoutine(eventStatus);
}

template <int Index>
VOID CALLBACK onInterrupt(PUCHAR data) {
  RoutineSlot& slot = routineSlots[Index];
  std::lock_guard guard(slot.interruptMutex);
  if (slot.interruptRoutine && data) slot.interruptRoutine(data);
}

template <std::size_t... Index>
constexpr auto plugCallbacks(std::index_sequence<Index...>) {
  return std::array<Ch375DllNotifyRoutine, sizeof...(Index)>{&onPlugNotice<Index>...};
}

template <std::size_t... Index>
constexpr auto interruptCallbacks(std::index_sequence<Index...>) {
  return std::array<Ch375DllIntRoutine, sizeof...(Index)>{&onInterrupt<Index>...};
}

constexpr auto kPlugCallbacks = plugCallbacks(std::make_index_sequence<kCh375DllDeviceSlots>());
constexpr auto kInterruptCallbacks = interruptCallbacks(std::make_index_sequence<kCh375DllDeviceSlots>());

bool servedIndex(int deviceIndex) { return deviceIndex >= 0 && deviceIndex < kCh375DllDeviceSlots; }

// Replaces a slot's routine. Removing one first has the library stop
// calling, then waits for a call still in progress; installing one stores it
// before the library may call.
template <typename Routine, typename Install>
Ch375Result replaceRoutine(std::mutex& mutex, Routine& held, Routine routine, Install install) {
  if (!routine) {
    const Ch375Result result = install(false);
    std::lock_guard guard(mutex);
    held = nullptr;
    return result;
  }
  {
    std::lock_guard guard(mutex);
    held = std::move(routine);
  }
  const Ch375Result result = install(true);
  if (result == 0) {
    std::lock_guard guard(mutex);
    held = nullptr;
  }
  return result;
}

}  // namespace

Ch375DllOpen Ch375DllLibrary::open(const std::wstring& file) {
  const Ch375DllLoad load = loadCh375Dll(file);
  if (!load.module) return {nullptr, load.failure};
  return {std::unique_ptr<Ch375DllLibrary>(new Ch375DllLibrary(load.module, load.functions)), {}};
}

Ch375DllLibrary::Ch375DllLibrary(HMODULE module, const Ch375DllFunctions& functions)
    : module_(module), functions_(functions) {}

Ch375DllLibrary::~Ch375DllLibrary() {
  for (int index = 0; index < kCh375DllDeviceSlots; ++index) {
    setIntRoutine(index, {});
    setDeviceNotify(index, {}, {});
    if (opened_[index]) closeDevice(index);
  }
  FreeLibrary(module_);
}

Ch375Result Ch375DllLibrary::setDeviceNotify(int deviceIndex, std::string_view deviceId, Ch375PlugRoutine routine) {
  if (!servedIndex(deviceIndex)) return 0;
  // An empty identifier is no identifier: the library then watches every
  // CH375 device.
  std::string id(deviceId);
  RoutineSlot& slot = routineSlots[deviceIndex];
  return replaceRoutine(slot.plugMutex, slot.plugRoutine, std::move(routine), [&](bool install) {
    return functions_.setDeviceNotify(static_cast<ULONG>(deviceIndex), id.empty() ? nullptr : id.data(),
                                      install ? kPlugCallbacks[deviceIndex] : nullptr)
               ? 1
               : 0;
  });
}

Ch375Handle Ch375DllLibrary::openDevice(int deviceIndex) {
  if (!servedIndex(deviceIndex)) return kCh375InvalidHandle;
  HANDLE handle = functions_.openDevice(static_cast<ULONG>(deviceIndex));
  if (handle == INVALID_HANDLE_VALUE) return kCh375InvalidHandle;
  opened_[deviceIndex] = true;
  return reinterpret_cast<Ch375Handle>(handle);
}

void Ch375DllLibrary::closeDevice(int deviceIndex) {
  if (!servedIndex(deviceIndex)) return;
  functions_.closeDevice(static_cast<ULONG>(deviceIndex));
  opened_[deviceIndex] = false;
}

Ch375Result Ch375DllLibrary::setTimeout(int deviceIndex, std::uint32_t writeTimeoutMs, std::uint32_t readTimeoutMs) {
  if (!servedIndex(deviceIndex)) return 0;
  return functions_.setTimeout(static_cast<ULONG>(deviceIndex), writeTimeoutMs, readTimeoutMs) ? 1 : 0;
}

Ch375Result Ch375DllLibrary::writeData(int deviceIndex, const std::uint8_t* buffer, std::uint32_t& length) {
  if (!servedIndex(deviceIndex)) return 0;
  ULONG ioLength = length;
  // The library declares its buffer writable but only reads it.
  const BOOL written =
      functions_.writeData(static_cast<ULONG>(deviceIndex), const_cast<std::uint8_t*>(buffer), &ioLength);
  length = ioLength;
  return written ? 1 : 0;
}

Ch375Result Ch375DllLibrary::readData(int deviceIndex, std::uint8_t* buffer, std::uint32_t& length) {
  if (!servedIndex(deviceIndex)) return 0;
  ULONG ioLength = length;
  const BOOL read = functions_.readData(static_cast<ULONG>(deviceIndex), buffer, &ioLength);
  // Never more than the buffer holds, whatever the library says.
  length = std::min<ULONG>(ioLength, length);
  return read ? 1 : 0;
}

Ch375Result Ch375DllLibrary::resetDevice(int deviceIndex) {
  if (!servedIndex(deviceIndex)) return 0;
  return functions_.resetDevice(static_cast<ULONG>(deviceIndex)) ? 1 : 0;
}

Ch375Result Ch375DllLibrary::setIntRoutine(int deviceIndex, Ch375InterruptRoutine routine) {
  if (!servedIndex(deviceIndex)) return 0;
  RoutineSlot& slot = routineSlots[deviceIndex];
  return replaceRoutine(slot.interruptMutex, slot.interruptRoutine, std::move(routine), [&](bool install) {
    return functions_.setIntRoutine(static_cast<ULONG>(deviceIndex), install ? kInterruptCallbacks[deviceIndex]
                                                                             : nullptr)
               ? 1
               : 0;
  });
}

}  // namespace qiru
