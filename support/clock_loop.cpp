#include "support/clock_loop.h"

#include <utility>

namespace qiru {

ClockLoop::ClockLoop(Clock& clock, ClockSteps steps, StepsMayWait mayWait) : clock_(clock) {
  if (mayWait == StepsMayWait::No) inPlace_ = clock.startSteps(steps);
  if (inPlace_) return;
  thread_ = std::make_unique<ClockThread>(clock, [this, steps = std::move(steps)] {
    for (;;) {
      const std::int64_t waitMs = steps.step();
      if (waitMs == kLoopEnds) return;
      clock_.waitFor(steps.woken, waitMs);
    }
  });
}

void ClockLoop::join() {
  if (thread_) thread_->join();
  if (inPlace_) clock_.joinSteps(inPlace_);
}

}  // namespace qiru
