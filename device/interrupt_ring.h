#pragma once
// Interrupt data blocks on their way from an interrupt routine (the
// producer, on a thread of the CH375 library) to one consumer thread, as
// they came: every block, whatever its length byte says. A ring of slots
// allocated once, with the producer's and the consumer's positions as atomic
// counters, so that push never allocates, locks or waits.
//
// When the consumer falls behind by more than the ring holds, the newest
// block is dropped and counted; the blocks already in the ring keep their
// order.

#include <atomic>
#include <cstdint>
#include <vector>

#include "device/report_layout.h"

namespace qiru {

// A block and the time it arrived, in µs (on whichever clock the producer
// stamps with).
struct StampedBlock {
  std::int64_t timeUs = 0;
  InterruptData data{};
};

class InterruptRing {
 public:
  // Capacities below 1 become 1.
  explicit InterruptRing(std::int32_t capacity);
  InterruptRing(const InterruptRing&) = delete;
  InterruptRing& operator=(const InterruptRing&) = delete;

  // Producer. Copies the first kInterruptDataBytes bytes of data. False when
  // the ring is full: the block is dropped.
  bool push(const std::uint8_t* data, std::int64_t timeUs) noexcept;
  // Consumer. Takes the oldest block; false when there is none.
  bool pop(StampedBlock& out) noexcept;
  // Consumer. Passes over every block pushed before the count-th (counted
  // from construction) without taking it.
  void skipTo(std::uint64_t count) noexcept;

  // Any thread. Blocks pushed and taken (or skipped) since construction.
  std::uint64_t pushedCount() const { return pushed_.load(std::memory_order_acquire); }
  std::uint64_t takenCount() const { return taken_.load(std::memory_order_acquire); }
  bool isFull() const { return pushedCount() - takenCount() >= slots_.size(); }
  std::int32_t capacity() const { return static_cast<std::int32_t>(slots_.size()); }
  // Blocks dropped because the ring was full, since construction.
  std::uint64_t droppedCount() const { return dropped_.load(std::memory_order_relaxed); }

 private:
  std::vector<StampedBlock> slots_;
  // Blocks pushed and blocks taken since construction; slot = count mod capacity.
  alignas(64) std::atomic<std::uint64_t> pushed_{0};
  alignas(64) std::atomic<std::uint64_t> taken_{0};
  std::atomic<std::uint64_t> dropped_{0};
};

}  // namespace qiru
