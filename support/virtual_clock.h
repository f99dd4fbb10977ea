#pragma once
// Virtual time for tests and simulations: waits take no real time, and a
// simulation of several threads runs the same way every time.
//
// How time moves. The threads of a simulation are its participants
// (ClockThread starts one; ClockParticipation makes the calling thread one).
// Only one participant runs at a time: it holds the turn until it waits on
// the clock or retires. The turn then goes to the participant that has been
// ready longest; when none is ready, virtual time jumps to the earliest
// deadline among the waiters and those whose deadline has come become ready,
// in the order in which they began to wait. So the interleaving of the
// threads depends only on what they do, never on the operating system's
// scheduler.
//
// A thread that is not a participant may wait too (a plain unit test that
// calls preciseDelay, say): it joins the same order while it waits and lets
// the others run again as soon as its wait is over. With no participants at
// all, every wait simply moves virtual time forward by its timeout.
//
// A hand-off costs no trip into the kernel when it need not: the thread that
// keeps the turn (its own deadline is the next, say) simply goes on, and a
// thread given the turn is woken by a signal of its own, outside the clock's
// lock, so that it never wakes only to wait for that lock. A loop of steps
// (clock_loop.h) is a participant without a thread: when its turn comes,
// the thread that is passing the turn on runs its step and passes on after
// it, so the many small hand-offs to and from such loops (the virtual
// machines delivering their reports) cost no switch at all.
//
// Rules for simulations: a participant blocks only through the clock (events,
// the match lock, waits, ClockThread::join), never on a plain mutex held
// across a wait or on std::thread::join; and the thread that starts the
// participants should itself be one while it starts them (ClockParticipation),
// so that time cannot move on before all of them have begun.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <list>
#include <memory>
#include <mutex>

#include "support/clock.h"

namespace qiru {

class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(std::int64_t startMs = 0) : nowMs_(startMs) {}

  std::int64_t nowMs() const override;
  bool waitFor(const std::function<bool()>& ready, std::int64_t timeoutMs) override;
  void notify(const std::function<void()>& change) override;

  // Threads blocked on this clock or ready to run, besides the one that has
  // the turn: none once a simulation has ended cleanly.
  std::size_t threadsWaiting() const;

  ClockTicket enrol() override;
  void begin(const ClockTicket& ticket) override;
  void retire() override;
  ClockTicket startSteps(ClockSteps steps, StepsMayWait mayWait) override;
  void serveSteps(const ClockTicket& ticket) override;
  void joinSteps(const ClockTicket& ticket) override;

 private:
  friend struct ClockParticipant;
  struct Waiter;

  ClockParticipant* currentParticipant() const;
  // Gives the free turn to the next ready thread, advancing time if none is.
  // A thread outside the simulation is woken here; a loop of steps is run
  // here, the lock released while its step runs; a participant is
  // returned, to be woken (handOver) once the lock is released.
  [[nodiscard]] std::shared_ptr<ClockParticipant> passTurn(std::unique_lock<std::mutex>& lock);
  // passTurn when nobody holds the turn.
  [[nodiscard]] std::shared_ptr<ClockParticipant> passFreeTurn(std::unique_lock<std::mutex>& lock);
  // Runs the loop's steps for as long as it keeps the turn, as a thread
  // calling waitFor after each step would; then it waits or has ended.
  // False when a step may wait: the loop's thread must take it.
  bool runSteps(std::unique_lock<std::mutex>& lock, ClockParticipant& loop);
  // What follows a step that answered waitMs: true when the loop steps
  // again at once, false when it now waits or has ended.
  bool afterStep(ClockParticipant& loop, std::int64_t waitMs);
  static void handOver(const std::shared_ptr<ClockParticipant>& next);
  void wakeReadyWaiters();
  bool advanceToNextDeadline();
  // Moves the waiters for which isOver() holds, in order, to the ready queue.
  void releaseWaiters(const std::function<bool(const Waiter&)>& isOver, bool result);

  mutable std::mutex mutex_;
  // A thread that may run next, and how to wake it: a participant by its
  // signal, a thread outside the simulation by its condition.
  struct NextTurn {
    const void* token;
    ClockParticipant* participant;
    std::condition_variable* outsiderTurn;
    bool loopTurn;  // the next step of a loop of steps
  };

  std::int64_t nowMs_;
  const void* turn_ = nullptr;      // who may run now (a participant or a waiter)
  std::deque<NextTurn> ready_;      // who runs next, oldest first
  std::list<Waiter*> waiting_;      // in the order the waits began
};

}  // namespace qiru
