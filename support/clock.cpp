#include "support/clock.h"

#include <chrono>

#include "support/timer_resolution.h"

namespace qiru {

std::int64_t RealClock::nowMs() const {
  // duration_cast truncates toward zero, as the program's time stamps do.
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

std::int64_t RealClock::monotonicUs() const {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

bool RealClock::waitFor(const std::function<bool()>& ready, std::int64_t timeoutMs) {
  std::unique_lock lock(mutex_);
  if (timeoutMs < 0) {
    changed_.wait(lock, ready);
    return true;
  }
  // Deadlines run on the steady clock, so that a change of the system time
  // neither cuts a wait short nor stretches it.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  return changed_.wait_until(lock, deadline, ready);
}

void RealClock::notify(const std::function<void()>& change) {
  {
    std::lock_guard lock(mutex_);
    change();
  }
  changed_.notify_all();
}

RealClock& realClock() {
  static RealClock clock;
  useFineTimerResolution();
  return clock;
}

}  // namespace qiru
