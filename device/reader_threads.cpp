#include "device/reader_threads.h"

#include "device/report_layout.h"
#include "device/thread_priority.h"

namespace qiru {

ReaderThreads::ReaderThreads(Clock& clock, const MachineConnection& machines,
                             std::array<ReportConsumer*, kSideCount> consumers)
    : clock_(clock), machines_(machines), consumers_(consumers) {
  for (const int side : {kRedSide, kBlueSide}) {
    threads_[sideSlot(side)] = std::make_unique<ClockThread>(clock_, [this, side] { run(side); });
  }
}

void ReaderThreads::stop() {
  clock_.notify([this] { stopRequested_ = true; });
  for (auto& thread : threads_) {
    if (thread) thread->join();
  }
}

std::int64_t ReaderThreads::step(int side) {
  if (machines_.lastReportLength(side) < kMinKeyReportLength) return kReaderIdleWaitMs;
  return consumers_[sideSlot(side)]->captureStep();
}

void ReaderThreads::run(int side) {
  raiseCurrentThreadPriority();
  while (!waitForStop(step(side))) {
  }
}

bool ReaderThreads::waitForStop(std::int64_t ms) {
  return clock_.waitFor([this] { return stopRequested_; }, ms);
}

}  // namespace qiru
