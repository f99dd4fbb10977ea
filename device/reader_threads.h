#pragma once
// The two reader threads, one per machine: each drains its side's report
// queue through the side's report consumer (chord capture) for as long as
// the program runs. A thread idles while its machine's latest interrupt
// data were too short to carry keys (no machine, or a machine that is
// only announcing itself).
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

// How long a reader waits before looking again while its machine sends
// nothing that carries keys.
inline constexpr std::int64_t kReaderIdleWaitMs = 250;

class ReaderThreads {
 public:
  // consumers: the report consumers of side 1 and side 2, which must outlive
  // the threads. Starts both threads.
  ReaderThreads(Clock& clock, const MachineConnection& machines, std::array<ReportConsumer*, kSideCount> consumers);
  ~ReaderThreads() { stop(); }
  ReaderThreads(const ReaderThreads&) = delete;
  ReaderThreads& operator=(const ReaderThreads&) = delete;

  // Sets the stop flag and joins both threads. Later calls do nothing.
  void stop();

  // One pass of the side's reader: how long to wait before the next.
  std::int64_t step(int side);

 private:
  void run(int side);
  // Waits ms or until the stop flag is set; true when it is set.
  bool waitForStop(std::int64_t ms);

  Clock& clock_;
  const MachineConnection& machines_;
  std::array<ReportConsumer*, kSideCount> consumers_;
  bool stopRequested_ = false;  // guarded by the clock's lock
  std::array<std::unique_ptr<ClockThread>, kSideCount> threads_;
};

}  // namespace qiru
