#pragma once
// The match clock 时钟1 without a window: a loop on the clock that
// delivers the timer's ticks to its handler while the model says it runs,
// as the window's timer does in the program. For simulations and tests.

#include <atomic>
#include <cstdint>
#include <optional>

#include "support/clock.h"
#include <functional>

#include "support/clock_loop.h"
#include "ui/control_model.h"

namespace qiru {

// How often a stopped timer looks whether it has been started.
inline constexpr std::int64_t kStoppedTimerPollMs = 10;

class MatchTimer {
 public:
  // tickWithoutWaiting, when given, says whether a tick delivered now would
  // not wait on the clock: such ticks a virtual clock runs itself, without
  // waking the timer's thread. Without it every tick runs on the thread.
  MatchTimer(Clock& clock, ui::ControlModel& model, std::function<bool()> tickWithoutWaiting = {});
  ~MatchTimer() { stop(); }
  MatchTimer(const MatchTimer&) = delete;
  MatchTimer& operator=(const MatchTimer&) = delete;

  void stop();
  // One look at the timer: a tick when one is due. Returns the wait until
  // the next look.
  std::int64_t tickStep();

 private:
  // Whether the next step only looks (no tick is due), which never waits.
  bool nextStepOnlyLooks();

  Clock& clock_;
  ui::ControlModel& model_;
  const std::function<bool()> tickWithoutWaiting_;
  std::optional<std::int64_t> nextTickAt_;  // while the timer runs
  std::atomic<bool> stopping_{false};
  ClockLoop loop_;  // last: starts once everything above exists
};

}  // namespace qiru
