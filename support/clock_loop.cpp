#include "support/clock_loop.h"

#include <utility>

namespace qiru {

ClockLoop::ClockLoop(Clock& clock, ClockSteps steps, StepsMayWait mayWait) : clock_(clock) {
  if (mayWait != StepsMayWait::Yes) inPlace_ = clock.startSteps(steps, mayWait);
  if (inPlace_) {
    if (mayWait == StepsMayWait::AtTimes) stepsThread_ = std::thread([this, loop = inPlace_] { clock_.serveSteps(loop); });
    return;
  }
  thread_ = std::make_unique<ClockThread>(clock, [this, steps = std::move(steps)] {
    if (steps.threadBegins) steps.threadBegins();
    if (steps.firstStepAfterMs > 0) clock_.waitFor(steps.woken, steps.firstStepAfterMs);
    for (;;) {
      const std::int64_t waitMs = steps.step();
      if (waitMs == kLoopEnds) return;
      // No time to wait: the next step at once, as the clock runs it.
      if (waitMs != 0) clock_.waitFor(steps.woken, waitMs);
    }
  });
}

void ClockLoop::join() {
  if (thread_) thread_->join();
  if (inPlace_) clock_.joinSteps(inPlace_);
  // Once the loop has ended its thread needs the clock no more.
  if (stepsThread_.joinable()) stepsThread_.join();
}

}  // namespace qiru
