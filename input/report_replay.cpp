#include "input/report_replay.h"

#include <algorithm>
#include <memory>

#include "device/virtual/report_log_player.h"
#include "device/virtual/virtual_ch375.h"
#include "input/key_event_recorder.h"
#include "input/keystroke_path.h"
#include "support/clock_thread.h"
#include "support/headless_messages.h"
#include "support/virtual_clock.h"

namespace qiru {

namespace {

// The numbers of the virtual machine that stands in for the logged one; the
// log's own reports teach the queue the logged machine's numbers.
constexpr std::int32_t kStandInMachineNumber = 1;
constexpr std::int32_t kStandInSecondNumber = 1;

}  // namespace

bool isReplayable(const std::vector<LoggedReport>& reports) {
  return reports.empty() || reports.back().timeMs - reports.front().timeMs <= kMaxReplaySpanMs;
}

std::vector<KeyEvent> replayReportLog(const std::vector<LoggedReport>& logged) {
  if (logged.empty() || !isReplayable(logged)) return {};
  // A log may start at any time from 0; the lead-in before its first report
  // must not take the clock below 0, where no time counts. Such a log
  // plays a little later, all of it alike: only the gaps matter to capture.
  std::vector<LoggedReport> reports = logged;
  if (const std::int64_t shortBy = kReplayLeadInMs - reports.front().timeMs; shortBy > 0) {
    for (LoggedReport& report : reports) report.timeMs += shortBy;
  }
  VirtualClock clock(reports.front().timeMs - kReplayLeadInMs);
  KeyEventRecorder recorder;
  {
    ClockParticipation driver(clock);
    VirtualCh375 library(clock);
    NoMachineLabels labels;
    HeadlessMessages messages(nullptr, answerUnattended, &clock);
    library.attach(deviceIndexOf(kRedSide),
                   std::make_shared<VirtualMachine>(kStandInMachineNumber, kStandInSecondNumber));
    KeystrokePath path(library, clock, messages, labels, recorder);
    playReportLog(library, deviceIndexOf(kRedSide), reports);
    clock.sleepFor(std::max<std::int64_t>(reports.back().timeMs + kReplaySettleMs - clock.nowMs(), 0));
    path.stop();
    library.shutdown();
  }
  return recorder.events();
}

}  // namespace qiru
