#pragma once
// The test's side of the stand-in CH375DLL.DLL: connects the stand-in that
// the program will load by name to a library of virtual machines, for as
// long as this object lives.

#include <windows.h>

#include <string>

#include "device/ch375_library.h"
#include "tests/device/ch375dll/stand_in_wiring.h"

namespace qiru::testing {

// Beside the test programs: the whole stand-in, and one without
// CH375SetIntRoutine in a folder of its own.
inline const std::wstring kStandInFile = L"CH375DLL.DLL";
inline const std::wstring kLackingStandInFile = L"lacking\\CH375DLL.DLL";

class StandInMachines {
 public:
  // The stand-in at `file` hands every call on to `machines`.
  explicit StandInMachines(Ch375Library& machines, const std::wstring& file = kStandInFile);
  // Disconnects the machines and lets the stand-in go.
  ~StandInMachines();
  StandInMachines(const StandInMachines&) = delete;
  StandInMachines& operator=(const StandInMachines&) = delete;

  bool connected() const { return module_ != nullptr; }

 private:
  QiruStandInTarget target_;
  HMODULE module_ = nullptr;
  QiruStandInConnectFunction connect_ = nullptr;
};

}  // namespace qiru::testing
