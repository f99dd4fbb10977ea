#include "support/clock.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/clock_event.h"
#include "support/clock_lock.h"
#include "support/clock_thread.h"

namespace qiru {
namespace {

TEST(RealClock, EventWakesAWaiterOnAnotherThread) {
  ClockEvent event(realClock());
  EXPECT_FALSE(event.wait(5)) << "nobody set it";
  bool woken = false;
  {
    ClockThread waiter(realClock(), [&] { woken = event.wait(kWaitForeverMs); });
    event.signal();
  }
  EXPECT_TRUE(woken);
}

// Several threads count under the lock, some of them taking it twice. A lock
// that let two in at once loses counts (and ThreadSanitizer reports it).
TEST(RealClock, LockLetsOneThreadInAtATime) {
  ClockLock lock(realClock());
  int count = 0;
  constexpr int kThreads = 4;
  constexpr int kRounds = 500;
  {
    std::vector<std::unique_ptr<ClockThread>> threads;
    for (int t = 0; t < kThreads; ++t) {
      threads.push_back(std::make_unique<ClockThread>(realClock(), [&, t] {
        for (int round = 0; round < kRounds; ++round) {
          std::lock_guard hold(lock);
          if (t % 2 == 0) {
            std::lock_guard again(lock);
            ++count;
          } else {
            ++count;
          }
        }
      }));
    }
  }
  EXPECT_EQ(count, kThreads * kRounds);
}

}  // namespace
}  // namespace qiru
