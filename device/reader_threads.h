#pragma once
// The two reader threads, one per machine: each drains its side's report
// queue through the side's report consumer (chord capture) for as long as
// the program runs. A reader sleeps until a report is pushed, a forget
// request comes, or its consumer's deadline (a merge window closing) is
// due; it never polls.
//
// After each pass it publishes how far it has captured the machine's
// reports (KeyReportQueue::caughtUpUs), so that the match can wait for it
// before it decides which of two chords came first.
//
// Started once the machines are initialised; stop() (or destruction) sets
// the stop flag, wakes both threads and joins them, so that nothing runs
// on the consumers afterwards.
//
// Each reader's loop is a ClockLoop: in a simulation, a pass whose
// consumer vouches that it will not wait (a chord of a running round is
// only queued for the match) is run by the virtual clock itself.

#include <array>
#include <cstdint>
#include <memory>

#include "device/machine_connection.h"
#include "device/report_consumer.h"
#include "support/clock.h"
#include "support/clock_loop.h"

namespace qiru {

class ReaderThreads {
 public:
  // consumers: the report consumers of side 1 and side 2, which must outlive
  // the threads. Starts both threads.
  ReaderThreads(Clock& clock, MachineConnection& machines, std::array<ReportConsumer*, kSideCount> consumers);
  ~ReaderThreads() { stop(); }
  ReaderThreads(const ReaderThreads&) = delete;
  ReaderThreads& operator=(const ReaderThreads&) = delete;

  // Sets the stop flag and joins both threads. Later calls do nothing.
  void stop();

  // One pass of the side's reader: the consumer's step, then its progress
  // published. Returns the consumer's deadline.
  std::int64_t step(int side);

 private:
  // The loop's step: a pass, and how long to sleep after it (kLoopEnds
  // once stopped).
  std::int64_t loopStep(int side);
  // Under the clock's lock: whether a report, a forget request or the stop
  // flag wants the next pass now. Marks the reader asleep when none does.
  bool hasWork(int side);

  Clock& clock_;
  MachineConnection& machines_;
  std::array<ReportConsumer*, kSideCount> consumers_;
  // Guarded by the clock's lock.
  bool stopRequested_ = false;
  std::array<bool, kSideCount> stopSeen_{};  // the stop, as each reader has seen it
  std::array<std::unique_ptr<ClockLoop>, kSideCount> loops_;
};

}  // namespace qiru
