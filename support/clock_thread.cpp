#include "support/clock_thread.h"

#include <utility>

namespace qiru {

ClockThread::ClockThread(Clock& clock, std::function<void()> body) : clock_(clock) {
  // Enrolled here, before the thread exists, so that a virtual clock counts
  // the thread from this moment on.
  thread_ = std::thread([this, ticket = clock.enrol(), body = std::move(body)] {
    ClockParticipation participation(clock_, ticket);
    body();
    // Told while this thread still has the turn, so that the joiner goes on
    // at this very moment of the clock: told after the thread had given up
    // the turn, a virtual clock could run on meanwhile.
    clock_.notify([this] { finished_ = true; });
  });
}

void ClockThread::join() {
  if (!thread_.joinable()) return;
  clock_.waitFor([this] { return finished_; }, kWaitForeverMs);
  thread_.join();
}

}  // namespace qiru
