#pragma once
// A re-entrant lock whose waiting goes through a Clock, so that a simulation
// on a virtual clock sees a thread that waits for it (the match lock is held
// across the countdown's waits while the other machine's thread asks for it).
// Meets BasicLockable: std::lock_guard and std::unique_lock work with it.

#include <thread>

#include "support/clock.h"

namespace qiru {

class ClockLock {
 public:
  explicit ClockLock(Clock& clock) : clock_(clock) {}
  ClockLock(const ClockLock&) = delete;
  ClockLock& operator=(const ClockLock&) = delete;

  void lock();
  void unlock();
  // Whether no thread holds it at this moment.
  bool heldByNobody();

 private:
  Clock& clock_;
  // Guarded by the clock's lock.
  std::thread::id owner_;
  int depth_ = 0;
};

}  // namespace qiru
