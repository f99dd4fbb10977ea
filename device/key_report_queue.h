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
//
// It carries two more things between the threads around it. Requests to
// forget: chords begun before a moment (an answer taken, a round started)
// or everything (the machine went away), which the consumer's chord
// capture carries out at its next step. And the reader's progress: how far
// it has taken and captured the reports, so that the match can tell when
// no chord completed before a given moment can still come from this
// machine (caughtUpUs).

#include <atomic>
#include <climits>
#include <cstdint>

#include "device/interrupt_ring.h"
#include "device/key_report.h"
#include "device/report_layout.h"

namespace qiru {

inline constexpr std::int32_t kDefaultReportQueueCapacity = 100;
// A forget request's moment when there is none.
inline constexpr std::int64_t kNothingToForget = INT64_MIN;

// What the consumer is asked to forget (takeForgetting).
struct Forgetting {
  bool machineReset = false;                 // everything: the machine went away
  std::int64_t beforeUs = kNothingToForget;  // every chord begun before this stamp
  bool any() const { return machineReset || beforeUs != kNothingToForget; }
};

class KeyReportQueue {
 public:
  // Capacities below kDefaultReportQueueCapacity become that.
  explicit KeyReportQueue(std::int32_t capacity = kDefaultReportQueueCapacity);
  KeyReportQueue(const KeyReportQueue&) = delete;
  KeyReportQueue& operator=(const KeyReportQueue&) = delete;

  // Producer. Copies the first kInterruptDataBytes bytes of the report and
  // its arrival time. False when the queue is full: the report is dropped.
  // The producer brackets the stamping and the push with beginArrival and
  // endArrival, so that a report stamped but not yet pushed is not missed
  // by caughtUpUs.
  bool push(const std::uint8_t* data, std::int64_t timeUs) noexcept;
  void beginArrival() noexcept { arriving_.store(true, std::memory_order_seq_cst); }
  bool arriving() const { return arriving_.load(std::memory_order_seq_cst); }
  // True when the consumer sleeps and must be woken for the report.
  bool endArrival() noexcept;

  // Consumer. Takes the oldest unread report and adds its pressed keys to
  // `out` (the caller passes a zeroed record). False when the queue is
  // empty, and also when the report carries neither a key nor a number the
  // queue still has to learn; true otherwise, also for a report with no key
  // pressed once both numbers are known.
  bool pop(KeyReport& out);
  // Consumer. The same, but true whenever a report was taken, whatever it
  // carries: the one answer that cannot lose a report pushed between a look
  // at the queue and the taking.
  bool take(KeyReport& out);
  bool isEmpty() const;

  // Any thread: chords begun before stampUs are to be forgotten (the
  // latest moment asked for counts).
  void forgetChordsBefore(std::int64_t stampUs);
  // Consumer: what was asked since the last call.
  Forgetting takeForgetting();
  bool hasForgetting() const;

  // The consumer's progress. It sleeps between sleepBegins and sleepEnds
  // (which say whether it was asleep); before sleeping it publishes up to
  // when it has taken and captured the reports (every chord completed
  // before caughtUpUs has been handed on) and whether its capture holds
  // nothing that could still become a chord.
  void publishProgress(std::int64_t caughtUpUs, bool settled);
  void sleepBegins();
  void sleepEnds();
  bool consumerSleeps() const { return (sleepCount_.load(std::memory_order_seq_cst) & 1) != 0; }
  // Any thread, with nowUs read from the producer's clock just before: the
  // stamp before which every chord of this machine has been handed on. A
  // sleeping consumer with nothing queued, arriving or held is caught up
  // to now.
  std::int64_t caughtUpUs(std::int64_t nowUs) const;

  // Any thread.
  bool isFull() const;
  // Drops every unread report (the consumer skips them at its next pop),
  // forgets both numbers, which the next reports teach again, and asks the
  // consumer to forget everything it holds.
  void reset();
  // Forgets both numbers only.
  void forgetNumbers();
  // 0 until the machine has reported them.
  std::int32_t machineNumber() const { return machineNumber_.load(std::memory_order_relaxed); }
  std::int32_t secondNumber() const { return secondNumber_.load(std::memory_order_relaxed); }
  // Reports dropped because the queue was full, since construction.
  std::uint64_t droppedCount() const { return ring_.droppedCount(); }
  std::int32_t capacity() const { return ring_.capacity(); }

 private:
  // Consumer: moves past the reports that a reset dropped.
  void skipDropped();
  // Takes one report: false when none; `carries` says what pop answers.
  bool takeOne(KeyReport& out, bool& carries);
  void learnNumbers(std::uint32_t selfReport);

  InterruptRing ring_;
  // Reports pushed before the latest reset, which the consumer skips.
  std::atomic<std::uint64_t> droppedBefore_{0};
  std::atomic<std::uint32_t> resets_{0};
  std::atomic<std::int64_t> forgetBeforeUs_{kNothingToForget};
  std::atomic<std::uint32_t> forgetRequests_{0};
  std::atomic<bool> arriving_{false};
  std::atomic<std::uint64_t> sleepCount_{0};  // odd while the consumer sleeps
  std::atomic<std::int64_t> caughtUpUs_{0};
  std::atomic<bool> settled_{false};
  std::atomic<std::int32_t> machineNumber_{0};
  std::atomic<std::int32_t> secondNumber_{0};

  // The consumer's own state.
  std::uint32_t resetsSeen_ = 0;
  std::uint32_t resetsForgotten_ = 0;
  std::uint32_t forgetRequestsSeen_ = 0;
  // The key bytes of the latest report whose length has a known layout; a
  // report of another length repeats them.
  KeyBytes lastKeyBytes_ = kNoKeyPressed;
};

}  // namespace qiru
