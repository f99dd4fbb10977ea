#pragma once
// A thread of the virtual CH375 library. It runs what is posted to it at the
// time it is due, one thing after another, in time order (things due at the
// same time in the order they were posted): plug notices on one such thread,
// each device's interrupt reports on another, as the vendor library has a
// notice thread and a thread per device. Waits go through the clock, so on
// a virtual clock the reports arrive at exactly their virtual times.
//
// Its loop is a ClockLoop: on a virtual clock a thread whose actions never
// wait on the clock (StepsMayWait::No) is run by the clock itself, so that
// the reports of a simulated match cost no switch between threads.

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <utility>

#include "support/clock.h"
#include "support/clock_loop.h"

namespace qiru {

class LibraryThread {
 public:
  // actionsMayWait: whether what is posted may wait on the clock.
  LibraryThread(Clock& clock, StepsMayWait actionsMayWait);
  // Stops the thread; what has not yet run is dropped.
  ~LibraryThread() { stop(); }
  LibraryThread(const LibraryThread&) = delete;
  LibraryThread& operator=(const LibraryThread&) = delete;

  // Runs action on the thread at dueMs (at once if that has passed).
  void post(std::int64_t dueMs, std::function<void()> action);
  void stop();

 private:
  // Runs what is due; returns how long until the next is due, or
  // kLoopEnds once stopped.
  std::int64_t step();
  // Whether a post or the stop wants the next step now; under the clock's lock.
  bool woken();

  Clock& clock_;
  std::mutex mutex_;  // guards pending_ and posted_
  // By due time, then by the order of posting.
  std::map<std::pair<std::int64_t, std::uint64_t>, std::function<void()>> pending_;
  std::uint64_t posted_ = 0;
  // Guarded by the clock's lock.
  bool stopRequested_ = false;
  bool stopping_ = false;  // the stop, as the loop has seen it
  std::uint64_t wakeUps_ = 0;
  std::uint64_t wakeUpsSeen_ = 0;
  ClockLoop loop_;  // last: starts once everything above exists
};

}  // namespace qiru
