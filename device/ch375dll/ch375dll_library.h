#pragma once
// The chip library backend's entry points: the CH375 function table over
// the vendor's CH375DLL.DLL, loaded by name at first use (Windows).
//
// The library calls its routines back on threads of its own, with no
// argument that says which device or which program object they are for. So
// each device index has its own pair of callback functions here, and they
// hand each call on to the routine the program installed for that index,
// holding the index's lock while it runs, as the other backends do: once a
// routine has been removed or replaced, it is no longer running. The chip
// library is one per process, and so is this backend: create one at a time.

#include <windows.h>

#include <memory>
#include <string>

#include "device/ch375_library.h"
#include "device/ch375dll/ch375dll_functions.h"

namespace qiru {

// Device indexes the backend hands routines on for: the two machines and
// room beside them, as the vendor library serves.
inline constexpr int kCh375DllDeviceSlots = 4;

class Ch375DllLibrary;

struct Ch375DllOpen {
  std::unique_ptr<Ch375DllLibrary> library;  // none: the library cannot be used
  std::string failure;                       // why, for the one box that says so
};

class Ch375DllLibrary final : public Ch375Library {
 public:
  // Loads the chip library from `file` (by default by its name, from the
  // program's folder or the system's) with every function of the table.
  static Ch375DllOpen open(const std::wstring& file = std::wstring(kCh375DllFile));

  // Removes the routines this program installed, closes the devices it
  // opened and releases the library.
  ~Ch375DllLibrary() override;
  Ch375DllLibrary(const Ch375DllLibrary&) = delete;
  Ch375DllLibrary& operator=(const Ch375DllLibrary&) = delete;

  // The function table.
  Ch375Result setDeviceNotify(int deviceIndex, std::string_view deviceId, Ch375PlugRoutine routine) override;
  Ch375Handle openDevice(int deviceIndex) override;
  void closeDevice(int deviceIndex) override;
  Ch375Result setTimeout(int deviceIndex, std::uint32_t writeTimeoutMs, std::uint32_t readTimeoutMs) override;
  Ch375Result writeData(int deviceIndex, const std::uint8_t* buffer, std::uint32_t& length) override;
  Ch375Result readData(int deviceIndex, std::uint8_t* buffer, std::uint32_t& length) override;
  Ch375Result resetDevice(int deviceIndex) override;
  Ch375Result setIntRoutine(int deviceIndex, Ch375InterruptRoutine routine) override;

 private:
  Ch375DllLibrary(HMODULE module, const Ch375DllFunctions& functions);

  HMODULE module_;
  Ch375DllFunctions functions_;
  bool opened_[kCh375DllDeviceSlots] = {};
};

}  // namespace qiru
