#pragma once
// Records one machine's interrupt reports into a report log (report_log.h),
// for diagnosing a machine: every block the machine sends, also those too
// short to carry keys, with the time it arrived.
//
// The interrupt routine only copies each block into a ring allocated in
// advance (interrupt_ring.h); the calling thread drains the ring every
// kRecorderPollMs, writes one line per report and flushes, so that the log
// on disk stays readable however the recording ends.

#include <atomic>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>

#include "device/ch375_library.h"
#include "device/link_test.h"
#include "support/clock.h"

namespace qiru {

// How often the recording thread drains the ring and looks at the stop flag.
inline constexpr std::int64_t kRecorderPollMs = 20;
// Blocks the ring holds between two drains: far more than a machine sends
// in kRecorderPollMs, so that a stalled writer loses nothing for a while.
inline constexpr std::int32_t kRecorderRingCapacity = 4096;

struct RecordRequest {
  int deviceIndex = 0;
  // How long to record; none: until the stop flag is set.
  std::optional<std::int64_t> durationMs{};
  // Ends the recording when set (from any thread, or a signal handler).
  // May be null when durationMs is given.
  const std::atomic<bool>* stop = nullptr;
  std::int32_t ringCapacity = kRecorderRingCapacity;
  // Called once the machine is open and its reports are being recorded.
  std::function<void()> onRecording{};
};

struct RecordOutcome {
  // False: the machine could not be opened, and nothing was written.
  bool opened = false;
  // False: the library would not deliver the machine's reports (the
  // interrupt routine was refused); only the log's comments were written.
  bool listened = false;
  // The single link test made before listening, as the program makes it.
  LinkTestResult link = LinkTestResult::Answers;
  // The output went bad (disk full, say); the recording ended there.
  bool writeFailed = false;
  // The machine was unplugged (it stopped answering after a removal
  // notice); the recording ended there.
  bool unplugged = false;
  std::uint64_t recorded = 0;  // report lines written
  std::uint64_t dropped = 0;   // reports lost because the ring was full
};

// Opens the machine at the device index, sets its time-outs, makes one link
// test and records its reports into `out` until the duration has passed,
// the stop flag is set or the machine is unplugged; then removes the interrupt routine, writes what is
// left in the ring and closes the machine. The log starts with comment
// lines: which machine, when, the link test, and what the columns are. Each
// report is logged as its whole interrupt data block, so that a replay of
// the log reads the very blocks the machine sent.
RecordOutcome recordReports(Ch375Library& library, Clock& clock, const RecordRequest& request, std::ostream& out);

}  // namespace qiru
