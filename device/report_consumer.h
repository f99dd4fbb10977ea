#pragma once
// What a machine's reader thread runs: a pass over the side's report queue
// (chord capture, input/chord_capture.h). The reader thread knows nothing
// of chords; it calls the step whenever a report arrives or the step's own
// deadline comes, and publishes how far the step got.

#include <cstdint>
#include <limits>

namespace qiru {

// A deadline that never comes.
inline constexpr std::int64_t kNoDeadlineUs = std::numeric_limits<std::int64_t>::max();

struct CaptureProgress {
  // When to step again though no report came (a key state's merge window
  // closes then); kNoDeadlineUs: only when a report comes.
  std::int64_t dueUs = kNoDeadlineUs;
  // The completion stamp the next chord handed on could carry at the
  // earliest, when the capture holds keys that may still become a chord;
  // kNoDeadlineUs when it holds nothing.
  std::int64_t heldSinceUs = kNoDeadlineUs;
};

class ReportConsumer {
 public:
  virtual ~ReportConsumer() = default;
  // Takes every report queued, and finishes what is due by nowUs (the
  // clock's monotonic µs).
  virtual CaptureProgress captureStep(std::int64_t nowUs) = 0;
  // Whether the next captureStep will not wait on the clock (whatever it
  // hands on is taken at once), so that a simulation may run it without
  // the reader's own thread.
  virtual bool stepsWithoutWaiting() { return false; }
};

}  // namespace qiru
