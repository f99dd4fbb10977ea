#pragma once
// The reports of one machine on their way from the interrupt routine (the
// producer, on a thread of the CH375 library) to the machine's reader thread
// (the consumer), in an interrupt ring (interrupt_ring.h): push never
// allocates, locks or waits, and neither side can see a slot the other is
// still writing.
//
// When more reports are unread than the ring holds, the newest is dropped
// and counted: the reports already queued keep their order and the queue
// never wraps onto unread slots (which would make it look empty).
//
// Each report is decoded by its own length byte, so that a short report
// still unread when a long one arrives (or the other way round) keeps its
// own key layout.
//
// The queue also learns the two numbers the machine reports about itself
// (report_layout.h); reset() forgets them and drops the unread reports.

#include <atomic>
#include <cstdint>

#include "device/interrupt_ring.h"
#include "device/key_report.h"
#include "device/report_layout.h"

namespace qiru {

inline constexpr std::int32_t kDefaultReportQueueCapacity = 100;

class KeyReportQueue {
 public:
  // Capacities below kDefaultReportQueueCapacity become that.
  explicit KeyReportQueue(std::int32_t capacity = kDefaultReportQueueCapacity);
  KeyReportQueue(const KeyReportQueue&) = delete;
  KeyReportQueue& operator=(const KeyReportQueue&) = delete;

  // Producer. Copies the first kInterruptDataBytes bytes of the report and
  // its arrival time. False when the queue is full: the report is dropped.
  bool push(const std::uint8_t* data, std::int64_t timeMs) noexcept;

  // Consumer. Takes the oldest unread report and adds its pressed keys to
  // `out` (the caller passes a zeroed record). False when the queue is
  // empty, and also when the report carries neither a key nor a number the
  // queue still has to learn; true otherwise, also for a report with no key
  // pressed once both numbers are known.
  bool pop(KeyReport& out);
  bool isEmpty() const;

  // Any thread.
  bool isFull() const;
  // Drops every unread report (the consumer skips them at its next pop)
  // and forgets both numbers, which the next reports teach again.
  void reset();
  // 0 until the machine has reported them.
  std::int32_t machineNumber() const { return machineNumber_.load(std::memory_order_relaxed); }
  std::int32_t secondNumber() const { return secondNumber_.load(std::memory_order_relaxed); }
  // Reports dropped because the queue was full, since construction.
  std::uint64_t droppedCount() const { return ring_.droppedCount(); }
  std::int32_t capacity() const { return ring_.capacity(); }

 private:
  // Consumer: moves past the reports that a reset dropped.
  void skipDropped();
  void learnNumbers(std::uint32_t selfReport);

  InterruptRing ring_;
  // Reports pushed before the latest reset, which the consumer skips.
  std::atomic<std::uint64_t> droppedBefore_{0};
  std::atomic<std::uint32_t> resets_{0};
  std::atomic<std::int32_t> machineNumber_{0};
  std::atomic<std::int32_t> secondNumber_{0};

  // The consumer's own state.
  std::uint32_t resetsSeen_ = 0;
  // The key bytes of the latest report whose length has a known layout; a
  // report of another length repeats them.
  KeyBytes lastKeyBytes_ = kNoKeyPressed;
};

}  // namespace qiru
