#include "support/turn_signal.h"

#if defined(__linux__)
#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>
#elif defined(_WIN32)
#include <windows.h>
#endif

namespace qiru {
namespace {

#if defined(__linux__)
// The kernel's wait on a word, without the spinning and yielding that the
// library's atomic wait adds before it.
void sleepWhile(std::atomic<std::uint32_t>& word, std::uint32_t value) {
  syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(&word), FUTEX_WAIT_PRIVATE, value, nullptr, nullptr, 0);
}
void wakeOne(std::atomic<std::uint32_t>& word) {
  syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(&word), FUTEX_WAKE_PRIVATE, 1, nullptr, nullptr, 0);
}
#elif defined(_WIN32)
// The system's own wait on a word: mingw's library atomic wait loses
// wake-ups, which leaves a clock thread asleep with the turn.
void sleepWhile(std::atomic<std::uint32_t>& word, std::uint32_t value) {
  WaitOnAddress(reinterpret_cast<volatile void*>(&word), &value, sizeof value, INFINITE);
}
void wakeOne(std::atomic<std::uint32_t>& word) { WakeByAddressSingle(reinterpret_cast<void*>(&word)); }
#else
void sleepWhile(std::atomic<std::uint32_t>& word, std::uint32_t value) { word.wait(value, std::memory_order_acquire); }
void wakeOne(std::atomic<std::uint32_t>& word) { word.notify_one(); }
#endif

}  // namespace

bool TurnSignal::takeIfGiven() {
  if (state_.load(std::memory_order_acquire) != kGiven) return false;
  // Only this thread waits on the signal, and nobody gives it again before
  // it has waited again: a plain store resets it.
  state_.store(kIdle, std::memory_order_relaxed);
  return true;
}

void TurnSignal::give() {
  if (state_.exchange(kGiven, std::memory_order_acq_rel) == kSleeping) wakeOne(state_);
}

void TurnSignal::take() {
  if (takeIfGiven()) return;
  std::uint32_t expected = kIdle;
  if (!state_.compare_exchange_strong(expected, kSleeping, std::memory_order_acquire)) {
    // Given while this thread was about to sleep.
    state_.store(kIdle, std::memory_order_relaxed);
    return;
  }
  for (;;) {
    sleepWhile(state_, kSleeping);
    if (takeIfGiven()) return;
  }
}

}  // namespace qiru
