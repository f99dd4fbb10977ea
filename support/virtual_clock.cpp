#include "support/virtual_clock.h"

#include <algorithm>
#include <limits>

namespace qiru {

struct ClockParticipant {
  const VirtualClock* clock = nullptr;
  // Signalled when the turn comes to this thread; one per thread, so that
  // passing the turn wakes exactly the thread that takes it.
  std::condition_variable turnGiven;
};

namespace {

constexpr std::int64_t kNoDeadlineMs = std::numeric_limits<std::int64_t>::max();

thread_local ClockParticipant* tParticipant = nullptr;

std::int64_t deadlineAfter(std::int64_t nowMs, std::int64_t timeoutMs) {
  if (timeoutMs < 0 || timeoutMs > kNoDeadlineMs - nowMs) return kNoDeadlineMs;
  return nowMs + timeoutMs;
}

}  // namespace

// One blocked thread. It lives on that thread's stack for the wait.
struct VirtualClock::Waiter {
  const std::function<bool()>* ready;
  std::int64_t deadlineMs;
  const void* token;  // what takes the turn once the wait is over
  std::condition_variable* turnGiven;
  bool result = false;
};

std::int64_t VirtualClock::nowMs() const {
  std::lock_guard lock(mutex_);
  return nowMs_;
}

ClockParticipant* VirtualClock::currentParticipant() const {
  return tParticipant != nullptr && tParticipant->clock == this ? tParticipant : nullptr;
}

bool VirtualClock::waitFor(const std::function<bool()>& ready, std::int64_t timeoutMs) {
  std::unique_lock lock(mutex_);
  if (ready()) return true;
  if (timeoutMs == 0) return false;

  ClockParticipant* self = currentParticipant();
  std::condition_variable outsider;
  Waiter waiter{&ready, deadlineAfter(nowMs_, timeoutMs), nullptr, self != nullptr ? &self->turnGiven : &outsider};
  waiter.token = self != nullptr ? static_cast<const void*>(self) : &waiter;
  waiting_.push_back(&waiter);
  if (self != nullptr && turn_ == self) turn_ = nullptr;
  if (turn_ == nullptr) passTurn();

  waiter.turnGiven->wait(lock, [&] { return turn_ == waiter.token; });
  if (self == nullptr) {
    // A thread outside the simulation runs on without the turn.
    turn_ = nullptr;
    passTurn();
  }
  return waiter.result;
}

void VirtualClock::notify(const std::function<void()>& change) {
  std::lock_guard lock(mutex_);
  change();
  wakeReadyWaiters();
  if (turn_ == nullptr) passTurn();
}

ClockTicket VirtualClock::enrol() {
  auto participant = std::make_shared<ClockParticipant>();
  participant->clock = this;
  std::lock_guard lock(mutex_);
  ready_.push_back({participant.get(), &participant->turnGiven});
  if (turn_ == nullptr) passTurn();
  return participant;
}

void VirtualClock::begin(const ClockTicket& ticket) {
  tParticipant = ticket.get();
  std::unique_lock lock(mutex_);
  ticket->turnGiven.wait(lock, [&] { return turn_ == ticket.get(); });
}

void VirtualClock::retire() {
  std::lock_guard lock(mutex_);
  if (turn_ == currentParticipant()) turn_ = nullptr;
  tParticipant = nullptr;
  passTurn();
}

void VirtualClock::passTurn() {
  while (turn_ == nullptr) {
    if (!ready_.empty()) {
      const NextTurn next = ready_.front();
      ready_.pop_front();
      turn_ = next.token;
      next.turnGiven->notify_one();
      return;
    }
    // Nobody can run: every thread waits. With no deadline ahead, only a
    // notify() from outside the simulation can wake anybody.
    if (!advanceToNextDeadline()) return;
  }
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
      ready_.push_back({waiter.token, waiter.turnGiven});
    } else {
      ++it;
    }
  }
}

}  // namespace qiru
