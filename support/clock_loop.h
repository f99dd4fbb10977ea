#pragma once
// A thread's loop on a Clock, written as steps (ClockSteps). On the real
// clock it runs on a thread of its own. On a virtual clock the clock runs
// each step itself when the loop's turn comes, on whichever thread of the
// simulation has just given the turn up: the loop takes its turns in exactly
// the order a thread would, but passing the turn to it and back costs no
// switch between threads. Such a step must never wait on the clock (taking
// a free clock lock is fine). A loop whose steps wait at times
// (StepsMayWait::AtTimes) has a thread as well, which takes the steps that
// nextStepWithoutWaiting() does not vouch for; one whose steps may always
// wait (StepsMayWait::Yes) is a thread. When the loop ends, whoever waits
// for it in join() has the next turn, as the code after a thread's loop
// would: a thread may hand a loop of looks to the clock and go on exactly
// where it would have.

#include <memory>
#include <thread>

#include "support/clock.h"
#include "support/clock_thread.h"

namespace qiru {

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
  std::thread stepsThread_;              // its thread for the steps that may wait
  std::unique_ptr<ClockThread> thread_;  // the loop's thread otherwise
};

}  // namespace qiru
