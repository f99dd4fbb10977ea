#pragma once
// What a machine's reader thread runs: one pass over the side's report
// queue (chord capture, input/chord_capture.h). The reader thread knows
// nothing of chords; it only calls the step and waits as long as it says.

#include <cstdint>

namespace qiru {

class ReportConsumer {
 public:
  virtual ~ReportConsumer() = default;
  // Takes what has arrived in the queue and returns how long to wait, in
  // ms, before the next pass (0: go on at once).
  virtual std::int64_t captureStep() = 0;
};

}  // namespace qiru
