#pragma once
// A thread's loop on a Clock, written as steps (ClockSteps). On the real
// clock it runs on a thread of its own. On a virtual clock the clock runs
// each step itself when the loop's turn comes, on whichever thread of the
// simulation has just given the turn up: the loop takes its turns in exactly
// the order a thread would, but passing the turn to it and back costs no
// switch between threads. Its steps must then never wait on the clock
// (taking a free clock lock is fine); a loop whose steps may wait asks for a
// thread (StepsMayWait::Yes).

#include <memory>

#include "support/clock.h"
#include "support/clock_thread.h"

namespace qiru {

enum class StepsMayWait { No, Yes };

class ClockLoop {
 public:
  // Starts the loop with a step.
  ClockLoop(Clock& clock, ClockSteps steps, StepsMayWait mayWait);
  // Joins: a step must end the loop first.
  ~ClockLoop() { join(); }
  ClockLoop(const ClockLoop&) = delete;
  ClockLoop& operator=(const ClockLoop&) = delete;

  // Waits on the clock until a step has ended the loop.
  void join();

 private:
  Clock& clock_;
  ClockTicket inPlace_;                  // the loop, when the clock runs it
  std::unique_ptr<ClockThread> thread_;  // the loop's thread otherwise
};

}  // namespace qiru
