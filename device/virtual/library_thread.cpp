#include "device/virtual/library_thread.h"

#include <utility>

namespace qiru {

LibraryThread::LibraryThread(Clock& clock, StepsMayWait actionsMayWait)
    : clock_(clock), loop_(clock, {.step = [this] { return step(); }, .woken = [this] { return woken(); }}, actionsMayWait) {}

void LibraryThread::post(std::int64_t dueMs, std::function<void()> action) {
  {
    std::lock_guard lock(mutex_);
    pending_.emplace(std::pair{dueMs, posted_++}, std::move(action));
  }
  clock_.notify([this] { ++wakeUps_; });
}

void LibraryThread::stop() {
  clock_.notify([this] { stopRequested_ = true; });
  loop_.join();
}

bool LibraryThread::woken() {
  stopping_ = stopRequested_;
  if (!stopping_ && wakeUps_ == wakeUpsSeen_) return false;
  wakeUpsSeen_ = wakeUps_;
  return true;
}

std::int64_t LibraryThread::step() {
  // Read outside the clock's lock: only woken() writes it, and it runs
  // before this step on the loop's turn.
  if (stopping_) return kLoopEnds;
  for (;;) {
    std::function<void()> action;
    {
      std::lock_guard lock(mutex_);
      if (pending_.empty()) return kWaitForeverMs;
      const auto next = pending_.begin();
      const std::int64_t leftMs = next->first.first - clock_.nowMs();
      if (leftMs > 0) return leftMs;
      action = std::move(next->second);
      pending_.erase(next);
    }
    action();
  }
}

}  // namespace qiru
