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

#include <array>
#include <cstdint>
#include <memory>

#include "device/machine_connection.h"
#include "device/report_consumer.h"
#include "support/clock.h"
#include "support/clock_thread.h"

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
  void run(int side);
  // Sleeps until there is work, the deadline or the stop flag; true when
  // the stop flag is set.
  bool waitForWork(int side, std::int64_t dueUs);

  Clock& clock_;
  MachineConnection& machines_;
  std::array<ReportConsumer*, kSideCount> consumers_;
  bool stopRequested_ = false;  // guarded by the clock's lock
  std::array<std::unique_ptr<ClockThread>, kSideCount> threads_;
};

}  // namespace qiru
