#include "device/key_report_queue.h"

#include <algorithm>
#include <bit>

namespace qiru {

KeyReportQueue::KeyReportQueue(std::int32_t capacity) : ring_(std::max(capacity, kDefaultReportQueueCapacity)) {}

bool KeyReportQueue::push(const std::uint8_t* data, std::int64_t timeUs) noexcept { return ring_.push(data, timeUs); }

bool KeyReportQueue::endArrival() noexcept {
  arriving_.store(false, std::memory_order_seq_cst);
  // Paired with the fence in sleepBegins: either the consumer sees the
  // report before it sleeps, or the producer sees it asleep.
  std::atomic_thread_fence(std::memory_order_seq_cst);
  return consumerSleeps();
}

void KeyReportQueue::skipDropped() {
  const std::uint32_t resets = resets_.load(std::memory_order_acquire);
  if (resets != resetsSeen_) {
    resetsSeen_ = resets;
    lastKeyBytes_ = kNoKeyPressed;
  }
  ring_.skipTo(droppedBefore_.load(std::memory_order_acquire));
}

bool KeyReportQueue::pop(KeyReport& out) {
  bool carries = false;
  return takeOne(out, carries) && carries;
}

bool KeyReportQueue::take(KeyReport& out) {
  bool carries = false;
  return takeOne(out, carries);
}

bool KeyReportQueue::takeOne(KeyReport& out, bool& carries) {
  skipDropped();
  StampedBlock slot;
  if (!ring_.pop(slot)) return false;
  carries = true;

  out.timeUs = slot.timeUs;
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
    if (selfReport == 0 && count == 0) {
      carries = false;
      return true;
    }
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
  forgetNumbers();
}

void KeyReportQueue::forgetNumbers() {
  machineNumber_.store(0, std::memory_order_relaxed);
  secondNumber_.store(0, std::memory_order_relaxed);
}

void KeyReportQueue::forgetChordsBefore(std::int64_t stampUs) {
  std::int64_t mark = forgetBeforeUs_.load(std::memory_order_relaxed);
  while (mark < stampUs && !forgetBeforeUs_.compare_exchange_weak(mark, stampUs, std::memory_order_release)) {
  }
  forgetRequests_.fetch_add(1, std::memory_order_release);
}

bool KeyReportQueue::hasForgetting() const {
  return forgetRequests_.load(std::memory_order_acquire) != forgetRequestsSeen_ ||
         resets_.load(std::memory_order_acquire) != resetsForgotten_;
}

Forgetting KeyReportQueue::takeForgetting() {
  Forgetting forgetting;
  if (const std::uint32_t resets = resets_.load(std::memory_order_acquire); resets != resetsForgotten_) {
    resetsForgotten_ = resets;
    forgetting.machineReset = true;
  }
  if (const std::uint32_t requests = forgetRequests_.load(std::memory_order_acquire);
      requests != forgetRequestsSeen_) {
    forgetRequestsSeen_ = requests;
    forgetting.beforeUs = forgetBeforeUs_.load(std::memory_order_acquire);
  }
  return forgetting;
}

void KeyReportQueue::publishProgress(std::int64_t caughtUpUs, bool settled) {
  caughtUpUs_.store(caughtUpUs, std::memory_order_release);
  settled_.store(settled, std::memory_order_release);
}

void KeyReportQueue::sleepBegins() {
  if (!consumerSleeps()) sleepCount_.fetch_add(1, std::memory_order_seq_cst);
  std::atomic_thread_fence(std::memory_order_seq_cst);
}

void KeyReportQueue::sleepEnds() {
  if (consumerSleeps()) sleepCount_.fetch_add(1, std::memory_order_seq_cst);
}

std::int64_t KeyReportQueue::caughtUpUs(std::int64_t nowUs) const {
  const std::uint64_t before = sleepCount_.load(std::memory_order_seq_cst);
  const bool idle = (before & 1) != 0 && settled_.load(std::memory_order_acquire) &&
                    !arriving_.load(std::memory_order_seq_cst) && isEmpty();
  // Only when the consumer slept throughout the look: awake, it may be
  // holding a report it has just taken.
  if (idle && sleepCount_.load(std::memory_order_seq_cst) == before) return nowUs;
  return caughtUpUs_.load(std::memory_order_acquire);
}

}  // namespace qiru
