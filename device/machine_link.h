#pragma once
// One machine's connection record. Each field is written by one party at a
// time (the plug handler, the interrupt routine, the label refresh) and read
// from other threads, so each is atomic.

#include <atomic>
#include <cstdint>

#include "device/ch375_library.h"

namespace qiru {

struct MachineLink {
  int deviceIndex = 0;
  // From openDevice; kCh375InvalidHandle while the machine is not open.
  std::atomic<Ch375Handle> handle{kCh375InvalidHandle};
  // The number the machine reports about itself; 0 until it has reported in.
  std::atomic<std::int32_t> machineNumber{0};
  // Byte 0 of the latest interrupt data: the reader idles while it is below
  // kMinKeyReportLength.
  std::atomic<std::int32_t> lastReportLength{0};
  // The machine's second self-reported number; 0 until reported.
  std::atomic<std::int32_t> secondNumber{0};
};

}  // namespace qiru
