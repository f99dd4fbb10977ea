#include "support/clock.h"

#include <chrono>
#include <memory>
#include <vector>

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
  if (ready()) return true;
  if (timeoutMs == 0) return false;
  const auto waiter = std::make_shared<Waiter>(ready);
  waiters_.push_back(waiter);
  const auto granted = [&waiter] { return waiter->granted; };
  if (timeoutMs < 0) {
    waiter->woken.wait(lock, granted);
    return true;
  }
  // Deadlines run on the steady clock, so that a change of the system time
  // neither cuts a wait short nor stretches it.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  if (waiter->woken.wait_until(lock, deadline, granted)) return true;
  // Time is up: one last look, as the wait leaves.
  std::erase(waiters_, waiter);
  return ready();
}

void RealClock::notify(const std::function<void()>& change) {
  std::vector<std::shared_ptr<Waiter>> granted;
  {
    std::lock_guard lock(mutex_);
    change();
    std::erase_if(waiters_, [&granted](const std::shared_ptr<Waiter>& waiter) {
      if (!waiter->ready()) return false;
      waiter->granted = true;
      granted.push_back(waiter);
      return true;
    });
  }
  // Woken once the lock is free, so that a waiter does not wake only to
  // wait for the lock.
  for (const auto& waiter : granted) waiter->woken.notify_one();
}

RealClock& realClock() {
  static RealClock clock;
  useFineTimerResolution();
  return clock;
}

}  // namespace qiru
