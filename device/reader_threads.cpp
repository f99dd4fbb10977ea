#include "device/reader_threads.h"

#include <algorithm>

#include "device/thread_priority.h"
#include "support/clock_loop.h"

namespace qiru {

ReaderThreads::ReaderThreads(Clock& clock, MachineConnection& machines,
                             std::array<ReportConsumer*, kSideCount> consumers)
    : clock_(clock), machines_(machines), consumers_(consumers) {
  for (const int side : {kRedSide, kBlueSide}) {
    ReportConsumer* consumer = consumers_[sideSlot(side)];
    loops_[sideSlot(side)] = std::make_unique<ClockLoop>(
        clock_,
        ClockSteps{.step = [this, side] { return loopStep(side); },
                   .woken = [this, side] { return hasWork(side); },
                   .nextStepWithoutWaiting = [consumer] { return consumer->stepsWithoutWaiting(); },
                   .threadBegins = raiseCurrentThreadPriority},
        StepsMayWait::AtTimes);
  }
}

void ReaderThreads::stop() {
  clock_.notify([this] { stopRequested_ = true; });
  for (auto& loop : loops_) {
    if (loop) loop->join();
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

std::int64_t ReaderThreads::loopStep(int side) {
  KeyReportQueue& queue = machines_.queue(side);
  queue.sleepEnds();
  // Read outside the clock's lock: only hasWork writes it, before this step.
  if (stopSeen_[sideSlot(side)]) return kLoopEnds;
  const std::int64_t dueUs = step(side);
  if (dueUs == kNoDeadlineUs) return kWaitForeverMs;
  const std::int64_t leftUs = dueUs - clock_.monotonicUs();
  if (leftUs <= 0) return 0;
  return (leftUs + kUsPerMs - 1) / kUsPerMs;
}

bool ReaderThreads::hasWork(int side) {
  KeyReportQueue& queue = machines_.queue(side);
  const bool stopping = stopSeen_[sideSlot(side)] = stopRequested_;
  queue.sleepBegins();
  if (!stopping && queue.isEmpty() && !queue.hasForgetting()) return false;
  queue.sleepEnds();
  return true;
}

}  // namespace qiru
