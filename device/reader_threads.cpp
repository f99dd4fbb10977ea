#include "device/reader_threads.h"

#include <algorithm>

#include "device/thread_priority.h"

namespace qiru {

ReaderThreads::ReaderThreads(Clock& clock, MachineConnection& machines,
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
  KeyReportQueue& queue = machines_.queue(side);
  // Read before the queue is looked at: every report stamped before this
  // has been pushed, unless its push is still under way.
  const bool arriving = queue.arriving();
  const std::int64_t startUs = clock_.monotonicUs();
  const CaptureProgress progress = consumers_[sideSlot(side)]->captureStep(startUs);
  const bool settled = progress.heldSinceUs == kNoDeadlineUs;
  const std::int64_t caughtUpUs =
      std::min(arriving ? queue.caughtUpUs(startUs) : startUs, progress.heldSinceUs);
  queue.publishProgress(caughtUpUs, settled);
  // Whoever waits for this reader to catch up looks again.
  clock_.notify([] {});
  return progress.dueUs;
}

void ReaderThreads::run(int side) {
  raiseCurrentThreadPriority();
  while (!waitForWork(side, step(side))) {
  }
}

bool ReaderThreads::waitForWork(int side, std::int64_t dueUs) {
  KeyReportQueue& queue = machines_.queue(side);
  std::int64_t timeoutMs = kWaitForeverMs;
  if (dueUs != kNoDeadlineUs) {
    const std::int64_t leftUs = dueUs - clock_.monotonicUs();
    if (leftUs <= 0) return false;
    timeoutMs = (leftUs + kUsPerMs - 1) / kUsPerMs;
  }
  bool stopping = false;
  clock_.waitFor(
      [&] {
        stopping = stopRequested_;
        queue.sleepBegins();
        if (!stopping && queue.isEmpty() && !queue.hasForgetting()) return false;
        queue.sleepEnds();
        return true;
      },
      timeoutMs);
  queue.sleepEnds();
  return stopping;
}

}  // namespace qiru
