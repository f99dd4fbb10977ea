#include "device/key_report_queue.h"

#include <algorithm>
#include <bit>

namespace qiru {

KeyReportQueue::KeyReportQueue(std::int32_t capacity) : ring_(std::max(capacity, kDefaultReportQueueCapacity)) {}

bool KeyReportQueue::push(const std::uint8_t* data, std::int64_t timeMs) noexcept { return ring_.push(data, timeMs); }

void KeyReportQueue::skipDropped() {
  const std::uint32_t resets = resets_.load(std::memory_order_acquire);
  if (resets != resetsSeen_) {
    resetsSeen_ = resets;
    lastKeyBytes_ = kNoKeyPressed;
  }
  ring_.skipTo(droppedBefore_.load(std::memory_order_acquire));
}

bool KeyReportQueue::pop(KeyReport& out) {
  skipDropped();
  StampedBlock slot;
  if (!ring_.pop(slot)) return false;

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
  return std::max(ring_.takenCount(), droppedBefore_.load(std::memory_order_acquire)) == ring_.pushedCount();
}

bool KeyReportQueue::isFull() const { return ring_.isFull(); }

void KeyReportQueue::reset() {
  const std::uint64_t pushed = ring_.pushedCount();
  // Two resets at once keep the later mark.
  std::uint64_t mark = droppedBefore_.load(std::memory_order_relaxed);
  while (mark < pushed && !droppedBefore_.compare_exchange_weak(mark, pushed, std::memory_order_release)) {
  }
  resets_.fetch_add(1, std::memory_order_release);
  machineNumber_.store(0, std::memory_order_relaxed);
  secondNumber_.store(0, std::memory_order_relaxed);
}

}  // namespace qiru
