#pragma once
// Every clock read and every wait of the program goes through one Clock. The
// program runs on the RealClock; tests and simulations run whole matches on a
// VirtualClock (virtual_clock.h), in virtual time and reproducibly.
//
// Waiting is expressed as "until this condition holds, or at most so long":
// the condition is evaluated under the clock's own lock, and whoever makes it
// true does so through notify(). Events and the match lock are built on these
// two calls (clock_event.h, clock_lock.h), so that a virtual clock sees every
// thread that is blocked and can decide when virtual time moves on.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace qiru {

// A timeout that never expires.
inline constexpr std::int64_t kWaitForeverMs = -1;
inline constexpr std::int64_t kUsPerMs = 1000;

// One thread taking part in a simulation (virtual_clock.h). Opaque here.
struct ClockParticipant;
using ClockTicket = std::shared_ptr<ClockParticipant>;

// What a step of a loop on the clock (clock_loop.h) answers to end the loop.
inline constexpr std::int64_t kLoopEnds = -2;

// A thread's loop written as a step: step() does what is due and answers
// how long to wait before the next step (kWaitForeverMs: until woken;
// kLoopEnds: the loop is over); woken(), under the clock's lock like the
// ready() of waitFor, says whether the next step is wanted sooner.
struct ClockSteps {
  std::function<std::int64_t()> step;
  std::function<bool()> woken;
  // For a loop whose steps wait only at times: whether the next step will
  // not wait, asked outside the clock's lock just before it. Unset: never.
  std::function<bool()> nextStepWithoutWaiting = {};
  // Run first on the loop's own thread, when it has one.
  std::function<void()> threadBegins = {};
  // How long the loop waits before its first step (0: none).
  std::int64_t firstStepAfterMs = 0;
};

// Whether a loop's steps may wait on the clock: never, only when its
// nextStepWithoutWaiting() says no, or at any step.
enum class StepsMayWait { No, AtTimes, Yes };

class Clock {
 public:
  virtual ~Clock() = default;

  // Milliseconds since 1970-01-01 00:00 UTC.
  virtual std::int64_t nowMs() const = 0;
  // Microseconds on a clock that never goes back, for stamping key reports
  // and chords: which of two chords came first must not depend on a change
  // of the system time. Its zero is arbitrary; a virtual clock, whose time
  // only moves forward, uses its own milliseconds.
  virtual std::int64_t monotonicUs() const { return nowMs() * kUsPerMs; }

  // Blocks the calling thread until ready() returns true or timeoutMs have
  // passed on this clock (kWaitForeverMs: no limit); returns whether ready()
  // held. ready() runs under the clock's lock, possibly on the thread that
  // calls notify(); it may change the state it tests (taking an event or a
  // lock), and it must not call the clock.
  virtual bool waitFor(const std::function<bool()>& ready, std::int64_t timeoutMs) = 0;

  // Runs change() under the clock's lock, then lets every waiter whose
  // ready() now holds go on.
  virtual void notify(const std::function<void()>& change) = 0;

  // Waits ms on this clock.
  void sleepFor(std::int64_t ms) {
    waitFor([] { return false; }, ms);
  }

  // Participation in a simulation. enrol() is called for a thread before it
  // starts, begin() as the first thing on that thread, retire() as the last.
  // The real clock has no simulation: all three do nothing. Use ClockThread
  // and ClockParticipation rather than calling these directly.
  virtual ClockTicket enrol() { return nullptr; }
  virtual void begin(const ClockTicket&) {}
  virtual void retire() {}

  // A loop of steps that the clock runs itself when it can: none when this
  // clock cannot (the real clock), and the loop then runs on a thread. A
  // loop whose steps wait at times also has a thread of its own, which
  // calls serveSteps and runs the steps that may wait. joinSteps waits until
  // the loop has ended. Use ClockLoop rather than calling these directly.
  virtual ClockTicket startSteps(ClockSteps, StepsMayWait) { return nullptr; }
  virtual void serveSteps(const ClockTicket&) {}
  virtual void joinSteps(const ClockTicket&) {}
};

// Wall-clock time and real waits.
//
// notify() wakes only the threads whose ready() now holds: it evaluates
// every waiter's condition itself, under the lock, and wakes those that
// hold. One condition shared by all would wake every waiting thread on
// each change (each report, each reader pass), and the one thread the
// change was for (a reader with a report to take) would queue for the CPU
// and for the lock behind all the others.
class RealClock final : public Clock {
 public:
  std::int64_t nowMs() const override;
  std::int64_t monotonicUs() const override;
  bool waitFor(const std::function<bool()>& ready, std::int64_t timeoutMs) override;
  void notify(const std::function<void()>& change) override;

 private:
  // A thread blocked in waitFor.
  struct Waiter {
    explicit Waiter(const std::function<bool()>& condition) : ready(condition) {}
    const std::function<bool()>& ready;
    bool granted = false;  // ready() held for it under the lock: it returns true
    std::condition_variable woken;
  };

  std::mutex mutex_;
  // In the order they began to wait, which is the order notify() asks them.
  // Shared, so that a waiter woken after the lock is let go still exists
  // when its wake-up comes.
  std::vector<std::shared_ptr<Waiter>> waiters_;
};

// The clock of the running program.
RealClock& realClock();

}  // namespace qiru
