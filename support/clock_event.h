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
    return clock_.waitFor([this] { return std::exchange(signalled_, false); }, timeoutMs);
  }

  Clock& clock() const { return clock_; }

 private:
  Clock& clock_;
  bool signalled_ = false;  // guarded by the clock's lock
};

}  // namespace qiru
