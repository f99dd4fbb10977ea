#include "device/key_report_queue.h"

#include <algorithm>
#include <bit>

namespace qiru {

KeyReportQueue::KeyReportQueue(std::int32_t capacity)
    : slots_(static_cast<std::size_t>(std::max(capacity, kDefaultReportQueueCapacity))) {}

bool KeyReportQueue::push(const std::uint8_t* data, std::int64_t timeMs) noexcept {
  const std::uint64_t pushed = pushed_.load(std::memory_order_relaxed);
  // Only the consumer's own position frees a slot: a slot a reset dropped
  // may still be in the consumer's hands until its next pop.
  if (pushed - taken_.load(std::memory_order_acquire) >= slots_.size()) {
    dropped_.fetch_add(1, std::memory_order_relaxed);
    return false;
  }
  Slot& slot = slots_[pushed % slots_.size()];
  std::copy_n(data, kInterruptDataBytes, slot.data.begin());
  slot.timeMs = timeMs;
  pushed_.store(pushed + 1, std::memory_order_release);
  return true;
}

std::uint64_t KeyReportQueue::skipDropped() {
  const std::uint32_t resets = resets_.load(std::memory_order_acquire);
  if (resets != resetsSeen_) {
    resetsSeen_ = resets;
    lastKeyBytes_ = kNoKeyPressed;
  }
  std::uint64_t taken = taken_.load(std::memory_order_relaxed);
  const std::uint64_t droppedBefore = droppedBefore_.load(std::memory_order_acquire);
  if (taken < droppedBefore) {
    taken = droppedBefore;
    taken_.store(taken, std::memory_order_release);
  }
  return taken;
}

bool KeyReportQueue::pop(KeyReport& out) {
  const std::uint64_t taken = skipDropped();
  if (taken == pushed_.load(std::memory_order_acquire)) return false;
  const Slot slot = slots_[taken % slots_.size()];
  taken_.store(taken + 1, std::memory_order_release);

  out.timeMs = slot.timeMs;
  if (const auto keys = keyBytesOf(slot.data.data())) lastKeyBytes_ = *keys;
  const PressedKeys pressed = pressedKeysOf(lastKeyBytes_);
  const int count = std::popcount(static_cast<std::uint32_t>(pressed.right)) +
                    std::popcount(static_cast<std::uint32_t>(pressed.left));
  out.maskA |= pressed.right;
  out.maskB |= pressed.left;
  out.pressedCount += count;
  out.chordCode = chordCodeOf(out.maskA, out.maskB);

  if (machineNumber() == 0 || secondNumber() == 0) {
    const std::uint32_t selfReport = selfReportOf(slot.data.data());
    if (selfReport == 0 && count == 0) return false;
    learnNumbers(selfReport);
  }
  return true;
}

void KeyReportQueue::learnNumbers(std::uint32_t selfReport) {
  if (selfReport > kSecondNumberBase) {
    secondNumber_.store(static_cast<std::int32_t>(selfReport - kSecondNumberBase), std::memory_order_relaxed);
  } else {
    machineNumber_.store(static_cast<std::int32_t>(selfReport), std::memory_order_relaxed);
  }
}

bool KeyReportQueue::isEmpty() const {
  const std::uint64_t taken =
      std::max(taken_.load(std::memory_order_relaxed), droppedBefore_.load(std::memory_order_acquire));
  return taken == pushed_.load(std::memory_order_acquire);
}

bool KeyReportQueue::isFull() const {
  return pushed_.load(std::memory_order_acquire) - taken_.load(std::memory_order_acquire) >= slots_.size();
}

void KeyReportQueue::reset() {
  const std::uint64_t pushed = pushed_.load(std::memory_order_acquire);
  // Two resets at once keep the later mark.
  std::uint64_t mark = droppedBefore_.load(std::memory_order_relaxed);
  while (mark < pushed && !droppedBefore_.compare_exchange_weak(mark, pushed, std::memory_order_release)) {
  }
  resets_.fetch_add(1, std::memory_order_release);
  machineNumber_.store(0, std::memory_order_relaxed);
  secondNumber_.store(0, std::memory_order_relaxed);
}

}  // namespace qiru
