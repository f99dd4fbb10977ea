#pragma once
// The match clock 时钟1 without a window: a thread on the clock that
// delivers the timer's ticks to its handler while the model says it runs,
// as the window's timer does in the program. For simulations and tests.

#include <atomic>
#include <cstdint>
#include <optional>

#include "support/clock.h"
#include "support/clock_thread.h"
#include "ui/control_model.h"

namespace qiru {

// How often a stopped timer looks whether it has been started.
inline constexpr std::int64_t kStoppedTimerPollMs = 10;

class MatchTimer {
 public:
  MatchTimer(Clock& clock, ui::ControlModel& model);
  ~MatchTimer() { stop(); }
  MatchTimer(const MatchTimer&) = delete;
  MatchTimer& operator=(const MatchTimer&) = delete;

  void stop();
  // One look at the timer: a tick when one is due. Returns the wait until
  // the next look.
  std::int64_t tickStep();

 private:
  Clock& clock_;
  ui::ControlModel& model_;
  std::optional<std::int64_t> nextTickAt_;  // while the timer runs
  std::atomic<bool> stopping_{false};
  ClockThread thread_;
};

}  // namespace qiru
