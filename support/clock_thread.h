#pragma once
// Threads that keep time with a Clock. On the real clock they are plain
// threads; on a virtual clock they are the participants of the simulation
// (virtual_clock.h), so that their waits decide when virtual time moves.

#include <functional>
#include <thread>
#include <utility>

#include "support/clock.h"

namespace qiru {

// Makes the calling thread a participant for the life of this object.
class ClockParticipation {
 public:
  explicit ClockParticipation(Clock& clock) : ClockParticipation(clock, clock.enrol()) {}
  ClockParticipation(Clock& clock, ClockTicket ticket) : clock_(clock), ticket_(std::move(ticket)) {
    clock_.begin(ticket_);
  }
  ~ClockParticipation() { clock_.retire(); }
  ClockParticipation(const ClockParticipation&) = delete;
  ClockParticipation& operator=(const ClockParticipation&) = delete;

 private:
  Clock& clock_;
  ClockTicket ticket_;  // the participant's record lives as long as it takes part
};

// A thread that runs body() as a participant of the clock. Joined by join()
// or at destruction.
class ClockThread {
 public:
  ClockThread(Clock& clock, std::function<void()> body);
  ~ClockThread() { join(); }
  ClockThread(const ClockThread&) = delete;
  ClockThread& operator=(const ClockThread&) = delete;

  // Waits on the clock until the body has ended, then joins the thread, so
  // that a participant may join another without stalling the simulation.
  void join();

 private:
  Clock& clock_;
  bool finished_ = false;  // guarded by the clock's lock
  std::thread thread_;
};

}  // namespace qiru
