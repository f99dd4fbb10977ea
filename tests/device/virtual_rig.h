#pragma once
// A bench of virtual machines for tests: the virtual CH375 library on a
// virtual clock, with the test's own thread taking part in the simulation,
// so that every run interleaves the library's threads the same way.

#include <cstdint>
#include <memory>

#include "device/virtual/virtual_ch375.h"
#include "support/clock_thread.h"
#include "support/virtual_clock.h"

namespace qiru::testing {

inline constexpr std::int64_t kRigStartMs = 1'700'000'000'000;
inline constexpr std::int32_t kMachine1Number = 12345;
inline constexpr std::int32_t kMachine2Number = 23456;
inline constexpr std::int32_t kSecondNumber = 180101;

struct VirtualRig {
  VirtualClock clock{kRigStartMs};
  ClockParticipation driver{clock};
  VirtualCh375 library{clock};

  std::int64_t elapsedMs() const { return clock.nowMs() - kRigStartMs; }
  // Lets the library's threads (and every other participant) run for ms.
  void waitMs(std::int64_t ms) { clock.sleepFor(ms); }
  std::int64_t atMs(std::int64_t elapsed) const { return kRigStartMs + elapsed; }

  // Plugs a machine in at the device index: the library announces it.
  std::shared_ptr<VirtualMachine> plugIn(int deviceIndex, std::int32_t machineNumber,
                                         int reportLength = kLongReportLength) {
    auto machine = std::make_shared<VirtualMachine>(machineNumber, kSecondNumber, reportLength);
    library.plugIn(deviceIndex, machine);
    return machine;
  }
  // A machine that was plugged in before the program started.
  std::shared_ptr<VirtualMachine> attach(int deviceIndex, std::int32_t machineNumber) {
    auto machine = std::make_shared<VirtualMachine>(machineNumber, kSecondNumber);
    library.attach(deviceIndex, machine);
    return machine;
  }
};

}  // namespace qiru::testing
