#include "support/virtual_clock.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <utility>

#include "support/turn_signal.h"

namespace qiru {

namespace {

constexpr std::int64_t kNoDeadlineMs = std::numeric_limits<std::int64_t>::max();

}  // namespace

// One blocked thread (or loop of steps) and what ends its wait. A thread's
// lives on that thread's stack for the wait, a loop's in its record.
struct VirtualClock::Waiter {
  const std::function<bool()>* ready;
  std::int64_t deadlineMs;
  const void* token;  // what takes the turn once the wait is over
  ClockParticipant* participant;
  std::condition_variable* outsiderTurn;
  bool result = false;
  bool loopWait = false;  // a loop of steps waiting for its next step
};

struct ClockParticipant : std::enable_shared_from_this<ClockParticipant> {
  const VirtualClock* clock = nullptr;
  // Given when the turn comes to this thread; one per thread, so that
  // passing the turn wakes exactly the thread that takes it.
  TurnSignal turnGiven;
  // A loop of steps: what it runs, its wait, whether it has a thread for
  // the steps that may wait, and whether it has ended (guarded by the
  // clock's lock).
  std::optional<ClockSteps> steps;
  VirtualClock::Waiter loopWait{};
  bool hasThread = false;
  bool ended = false;
};

namespace {

thread_local ClockParticipant* tParticipant = nullptr;
// The loop whose step this thread is running, if any.
thread_local const ClockParticipant* tRunningLoop = nullptr;

// A virtual clock may stand before 1970 (a negative time): the room left
// below kNoDeadlineMs is then more than int64 holds, so it is compared
// without being computed.
std::int64_t deadlineAfter(std::int64_t nowMs, std::int64_t timeoutMs) {
  if (timeoutMs < 0 || (nowMs > 0 && timeoutMs > kNoDeadlineMs - nowMs)) return kNoDeadlineMs;
  return nowMs + timeoutMs;
}

}  // namespace

std::int64_t VirtualClock::nowMs() const {
  std::lock_guard lock(mutex_);
  return nowMs_;
}

std::size_t VirtualClock::threadsWaiting() const {
  std::lock_guard lock(mutex_);
  return waiting_.size() + ready_.size();
}

ClockParticipant* VirtualClock::currentParticipant() const {
  return tParticipant != nullptr && tParticipant->clock == this ? tParticipant : nullptr;
}

bool VirtualClock::waitFor(const std::function<bool()>& ready, std::int64_t timeoutMs) {
  std::unique_lock lock(mutex_);
  if (ready()) return true;
  if (timeoutMs == 0) return false;
  if (tRunningLoop != nullptr) {
    // The thread running the step is in the middle of its own wait: it
    // cannot block for the loop as well.
    std::fputs("a loop of steps run by the virtual clock waited on the clock; give it a thread (StepsMayWait::Yes)\n",
               stderr);
    std::abort();
  }

  ClockParticipant* self = currentParticipant();
  std::condition_variable outsider;
  Waiter waiter{&ready, deadlineAfter(nowMs_, timeoutMs), nullptr, self, self != nullptr ? nullptr : &outsider};
  waiter.token = self != nullptr ? static_cast<const void*>(self) : &waiter;
  waiting_.push_back(&waiter);
  if (self != nullptr && turn_ == self) turn_ = nullptr;
  const std::shared_ptr<ClockParticipant> next = passFreeTurn(lock);

  if (self == nullptr) {
    lock.unlock();
    handOver(next);
    lock.lock();
    outsider.wait(lock, [&] { return turn_ == waiter.token; });
    // A thread outside the simulation runs on without the turn.
    turn_ = nullptr;
    const std::shared_ptr<ClockParticipant> after = passTurn(lock);
    lock.unlock();
    handOver(after);
    return waiter.result;
  }
  // Still this thread's turn (its own deadline came first): it goes on.
  if (next.get() == self) return waiter.result;
  lock.unlock();
  handOver(next);
  self->turnGiven.take();
  return waiter.result;
}

void VirtualClock::notify(const std::function<void()>& change) {
  std::unique_lock lock(mutex_);
  change();
  wakeReadyWaiters();
  const std::shared_ptr<ClockParticipant> next = passFreeTurn(lock);
  lock.unlock();
  handOver(next);
}

ClockTicket VirtualClock::enrol() {
  auto participant = std::make_shared<ClockParticipant>();
  participant->clock = this;
  std::unique_lock lock(mutex_);
  ready_.push_back({participant.get(), participant.get(), nullptr, false});
  const std::shared_ptr<ClockParticipant> next = passFreeTurn(lock);
  lock.unlock();
  handOver(next);
  return participant;
}

ClockTicket VirtualClock::startSteps(ClockSteps steps, StepsMayWait mayWait) {
  auto loop = std::make_shared<ClockParticipant>();
  loop->clock = this;
  loop->steps = std::move(steps);
  loop->loopWait = {&loop->steps->woken, kNoDeadlineMs, loop.get(), loop.get(), nullptr, false, true};
  loop->hasThread = mayWait == StepsMayWait::AtTimes;
  std::unique_lock lock(mutex_);
  if (loop->steps->firstStepAfterMs > 0) {
    // Waits first, as a thread would at once.
    loop->loopWait.deadlineMs = deadlineAfter(nowMs_, loop->steps->firstStepAfterMs);
    waiting_.push_back(&loop->loopWait);
  } else {
    // Enrolled as a thread is: it takes its first step in its turn.
    ready_.push_back({loop.get(), loop.get(), nullptr, true});
  }
  const std::shared_ptr<ClockParticipant> next = passFreeTurn(lock);
  lock.unlock();
  handOver(next);
  return loop;
}

void VirtualClock::serveSteps(const ClockTicket& ticket) {
  ClockParticipant& loop = *ticket;
  // Waits within its steps are the loop's own.
  tParticipant = &loop;
  if (loop.steps->threadBegins) loop.steps->threadBegins();
  for (;;) {
    // Given the turn for a step that may wait, or told the loop has ended.
    loop.turnGiven.take();
    {
      std::lock_guard lock(mutex_);
      if (loop.ended) break;
    }
    for (;;) {
      const std::int64_t waitMs = loop.steps->step();
      std::unique_lock lock(mutex_);
      if (afterStep(loop, waitMs)) continue;
      turn_ = nullptr;
      const std::shared_ptr<ClockParticipant> next = passTurn(lock);
      const bool ended = loop.ended;
      lock.unlock();
      // Its own turn again, for a step that may wait: this thread takes it.
      if (!ended && next.get() == &loop) continue;
      handOver(next);
      if (ended) {
        tParticipant = nullptr;
        return;
      }
      break;
    }
  }
  tParticipant = nullptr;
}

void VirtualClock::joinSteps(const ClockTicket& ticket) {
  ClockParticipant* loop = ticket.get();
  waitFor([loop] { return loop->ended; }, kWaitForeverMs);
}

void VirtualClock::begin(const ClockTicket& ticket) {
  tParticipant = ticket.get();
  ticket->turnGiven.take();
}

void VirtualClock::retire() {
  std::unique_lock lock(mutex_);
  if (turn_ == currentParticipant()) turn_ = nullptr;
  tParticipant = nullptr;
  const std::shared_ptr<ClockParticipant> next = passTurn(lock);
  lock.unlock();
  handOver(next);
}

std::shared_ptr<ClockParticipant> VirtualClock::passFreeTurn(std::unique_lock<std::mutex>& lock) {
  return turn_ == nullptr ? passTurn(lock) : nullptr;
}

std::shared_ptr<ClockParticipant> VirtualClock::passTurn(std::unique_lock<std::mutex>& lock) {
  while (turn_ == nullptr) {
    if (!ready_.empty()) {
      const NextTurn next = ready_.front();
      ready_.pop_front();
      turn_ = next.token;
      if (next.outsiderTurn != nullptr) {
        next.outsiderTurn->notify_one();
        return nullptr;
      }
      if (next.loopTurn) {
        if (runSteps(lock, *next.participant)) {
          turn_ = nullptr;
          continue;
        }
        // The step may wait: the loop's thread takes it.
      }
      // Kept alive until it has been woken: once given the turn, the
      // participant may run, retire and let go of its record at once.
      return next.participant->shared_from_this();
    }
    // Nobody can run: every thread waits. With no deadline ahead, only a
    // notify() from outside the simulation can wake anybody.
    if (!advanceToNextDeadline()) return nullptr;
  }
  return nullptr;
}

bool VirtualClock::runSteps(std::unique_lock<std::mutex>& lock, ClockParticipant& loop) {
  // Kept alive while it runs: its owner may join and let go of it as soon
  // as it has ended.
  const std::shared_ptr<ClockParticipant> keep = loop.shared_from_this();
  for (;;) {
    lock.unlock();
    if (loop.steps->nextStepWithoutWaiting && !loop.steps->nextStepWithoutWaiting()) {
      lock.lock();
      return false;
    }
    const ClockParticipant* outerLoop = std::exchange(tRunningLoop, &loop);
    const std::int64_t waitMs = loop.steps->step();
    tRunningLoop = outerLoop;
    lock.lock();
    if (afterStep(loop, waitMs)) continue;
    // An ended loop's thread, waiting for a step, is let go.
    if (loop.ended && loop.hasThread) loop.turnGiven.give();
    return true;
  }
}

bool VirtualClock::afterStep(ClockParticipant& loop, std::int64_t waitMs) {
  if (waitMs == kLoopEnds) {
    loop.ended = true;
    // Whoever waits for the loop to end goes on first, as the code after a
    // thread's loop would in the loop's turn.
    const auto waitingBefore = static_cast<std::ptrdiff_t>(ready_.size());
    wakeReadyWaiters();
    std::rotate(ready_.begin(), ready_.begin() + waitingBefore, ready_.end());
    return false;
  }
  // As waitFor: no time to wait, or a wait already over, does not give up
  // the turn.
  if (waitMs == 0 || loop.steps->woken()) return true;
  loop.loopWait.deadlineMs = deadlineAfter(nowMs_, waitMs);
  waiting_.push_back(&loop.loopWait);
  return false;
}

void VirtualClock::handOver(const std::shared_ptr<ClockParticipant>& next) {
  if (next) next->turnGiven.give();
}

void VirtualClock::wakeReadyWaiters() {
  releaseWaiters([](const Waiter& waiter) { return (*waiter.ready)(); }, true);
}

bool VirtualClock::advanceToNextDeadline() {
  std::int64_t next = kNoDeadlineMs;
  for (const Waiter* waiter : waiting_) next = std::min(next, waiter->deadlineMs);
  if (next == kNoDeadlineMs) return false;
  nowMs_ = std::max(nowMs_, next);
  releaseWaiters([this](const Waiter& waiter) { return waiter.deadlineMs <= nowMs_; }, false);
  return true;
}

void VirtualClock::releaseWaiters(const std::function<bool(const Waiter&)>& isOver, bool result) {
  for (auto it = waiting_.begin(); it != waiting_.end();) {
    Waiter& waiter = **it;
    if (isOver(waiter)) {
      it = waiting_.erase(it);
      waiter.result = result;
      ready_.push_back({waiter.token, waiter.participant, waiter.outsiderTurn, waiter.loopWait});
    } else {
      ++it;
    }
  }
}

}  // namespace qiru
