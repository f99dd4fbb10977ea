#pragma once
// An auto-reset event on a Clock: signal() sets it, and the one wait that
// takes it resets it. It is what pumpingWait waits for.

#include <cstdint>
#include <utility>

#include "support/clock.h"

namespace qiru {

class ClockEvent {
 public:
  explicit ClockEvent(Clock& clock) : clock_(clock) {}
  ClockEvent(const ClockEvent&) = delete;
  ClockEvent& operator=(const ClockEvent&) = delete;

  void signal() {
    clock_.notify([this] { signalled_ = true; });
  }

  // True when the event was set within timeoutMs (kWaitForeverMs: no limit).
  bool wait(std::int64_t timeoutMs) {
    return clock_.waitFor([this] { return takeUnderClockLock(); }, timeoutMs);
  }

  // Takes the signal if it is set; only under the clock's lock, as the
  // woken() of a loop on the clock (clock_loop.h).
  bool takeUnderClockLock() { return std::exchange(signalled_, false); }

  Clock& clock() const { return clock_; }

 private:
  Clock& clock_;
  bool signalled_ = false;  // guarded by the clock's lock
};

}  // namespace qiru
