#include "support/clock_thread.h"

#include <utility>

namespace qiru {

ClockThread::ClockThread(Clock& clock, std::function<void()> body) : clock_(clock) {
  // Enrolled here, before the thread exists, so that a virtual clock counts
  // the thread from this moment on.
  thread_ = std::thread([this, ticket = clock.enrol(), body = std::move(body)] {
    {
      ClockParticipation participation(clock_, ticket);
      body();
    }
    clock_.notify([this] { finished_ = true; });
  });
}

void ClockThread::join() {
  if (!thread_.joinable()) return;
  clock_.waitFor([this] { return finished_; }, kWaitForeverMs);
  thread_.join();
}

}  // namespace qiru
