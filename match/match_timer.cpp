#include "match/match_timer.h"

#include <algorithm>
#include <utility>

namespace qiru {

MatchTimer::MatchTimer(Clock& clock, ui::ControlModel& model, std::function<bool()> tickWithoutWaiting)
    : clock_(clock),
      model_(model),
      tickWithoutWaiting_(std::move(tickWithoutWaiting)),
      loop_(clock,
            ClockSteps{.step = [this] { return stopping_ ? kLoopEnds : tickStep(); },
                       .woken = [] { return false; },
                       .nextStepWithoutWaiting =
                           [this] { return stopping_ || nextStepOnlyLooks() || tickWithoutWaiting_(); }},
            tickWithoutWaiting_ ? StepsMayWait::AtTimes : StepsMayWait::Yes) {}

void MatchTimer::stop() {
  stopping_ = true;
  loop_.join();
}

bool MatchTimer::nextStepOnlyLooks() {
  const int periodMs = model_.get(ui::Control::时钟1, &ui::ControlState::timerPeriodMs);
  return periodMs <= 0 || (nextTickAt_ && clock_.nowMs() < *nextTickAt_);
}

std::int64_t MatchTimer::tickStep() {
  const int periodMs = model_.get(ui::Control::时钟1, &ui::ControlState::timerPeriodMs);
  if (periodMs <= 0) {
    nextTickAt_.reset();
    return kStoppedTimerPollMs;
  }
  const std::int64_t now = clock_.nowMs();
  // A timer that has just started ticks first one period later.
  if (!nextTickAt_) nextTickAt_ = now + periodMs;
  if (now >= *nextTickAt_) {
    model_.deliver(ui::Control::时钟1, ui::EventKind::TimerTick);
    // Ticks missed while the handler ran are not made up for, as with a
    // window's timer.
    nextTickAt_ = std::max(*nextTickAt_ + periodMs, clock_.nowMs() + 1);
  }
  return std::max<std::int64_t>(*nextTickAt_ - clock_.nowMs(), 1);
}

}  // namespace qiru
