#include "device/virtual/library_thread.h"

#include <utility>

namespace qiru {

LibraryThread::LibraryThread(Clock& clock) : clock_(clock), thread_(clock, [this] { run(); }) {}

void LibraryThread::post(std::int64_t dueMs, std::function<void()> action) {
  {
    std::lock_guard lock(mutex_);
    pending_.emplace(std::pair{dueMs, posted_++}, std::move(action));
  }
  clock_.notify([this] { ++wakeUps_; });
}

void LibraryThread::stop() {
  clock_.notify([this] { stopRequested_ = true; });
  thread_.join();
}

void LibraryThread::run() {
  for (;;) {
    const std::int64_t waitMs = step();
    bool stopping = false;
    clock_.waitFor(
        [this, &stopping] {
          stopping = stopRequested_;
          if (!stopping && wakeUps_ == wakeUpsSeen_) return false;
          wakeUpsSeen_ = wakeUps_;
          return true;
        },
        waitMs);
    if (stopping) return;
  }
}

std::int64_t LibraryThread::step() {
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
