#pragma once
// Replays a report log as machine 1 would have sent it: the reports go
// through the interrupt routine into machine 1's queue, and its reader
// thread and chord capture take them as they would in real time, only in
// virtual time, so that the same log always gives the same key events.

#include <cstdint>
#include <vector>

#include "device/report_log.h"
#include "input/key_event.h"

namespace qiru {

// Virtual time before the first report (the machine is connected and its
// reader idle) and after the last (the reader's polls finish the last chord).
inline constexpr std::int64_t kReplayLeadInMs = 1000;
inline constexpr std::int64_t kReplaySettleMs = 1000;

// Virtual time costs real time too (about 0.4 s a virtual hour, in polls of
// the reader threads): a log may span a day at most.
inline constexpr std::int64_t kMaxReplaySpanMs = 24LL * 60 * 60 * 1000;

// Whether the reports' times span at most kMaxReplaySpanMs.
bool isReplayable(const std::vector<LoggedReport>& reports);

// The key events of machine 1, in order, decoded with the published scheme.
// Nothing for a log that is not replayable.
std::vector<KeyEvent> replayReportLog(const std::vector<LoggedReport>& reports);

}  // namespace qiru
