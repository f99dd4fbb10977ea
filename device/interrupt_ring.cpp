#include "device/interrupt_ring.h"

#include <algorithm>

namespace qiru {

InterruptRing::InterruptRing(std::int32_t capacity) : slots_(static_cast<std::size_t>(std::max(capacity, 1))) {}

bool InterruptRing::push(const std::uint8_t* data, std::int64_t timeUs) noexcept {
  const std::uint64_t pushed = pushed_.load(std::memory_order_relaxed);
  // Only the consumer's position frees a slot: a slot it skipped may still
  // be in its hands until its next pop.
  if (pushed - taken_.load(std::memory_order_acquire) >= slots_.size()) {
    dropped_.fetch_add(1, std::memory_order_relaxed);
    return false;
  }
  StampedBlock& slot = slots_[pushed % slots_.size()];
  slot.timeUs = timeUs;
  std::copy_n(data, kInterruptDataBytes, slot.data.begin());
  pushed_.store(pushed + 1, std::memory_order_release);
  return true;
}

bool InterruptRing::pop(StampedBlock& out) noexcept {
  const std::uint64_t taken = taken_.load(std::memory_order_relaxed);
  if (taken == pushed_.load(std::memory_order_acquire)) return false;
  out = slots_[taken % slots_.size()];
  taken_.store(taken + 1, std::memory_order_release);
  return true;
}

void InterruptRing::skipTo(std::uint64_t count) noexcept {
  if (taken_.load(std::memory_order_relaxed) < count) taken_.store(count, std::memory_order_release);
}

}  // namespace qiru
