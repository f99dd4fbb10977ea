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

// Tickets handed out one by one under the clock's lock, each taken by one
// waiter's condition. A notify that found a waiter ready but did not wake it
// leaves that thread asleep with its ticket, and the join never returns.
TEST(RealClock, EveryNotifyReachesAWaiterWhoseConditionNowHolds) {
  int tickets = 0;  // guarded by the clock's lock
  const auto takeTicket = [&tickets] {
    if (tickets == 0) return false;
    --tickets;
    return true;
  };
  constexpr int kThreads = 4;
  constexpr int kRounds = 200;
  {
    std::vector<std::unique_ptr<ClockThread>> threads;
    for (int t = 0; t < kThreads; ++t) {
      threads.push_back(std::make_unique<ClockThread>(realClock(), [&] {
        for (int round = 0; round < kRounds; ++round) realClock().waitFor(takeTicket, kWaitForeverMs);
      }));
    }
    for (int i = 0; i < kThreads * kRounds; ++i) realClock().notify([&tickets] { ++tickets; });
  }
  EXPECT_EQ(tickets, 0);
}

// A condition that takes something (an event, a lock) may hold for a waiter
// just as its time runs out: the wait must then say so, or what it took is
// lost. Every ticket given is either still there or was taken by a wait
// that returned true.
TEST(RealClock, WaitRunningOutAsItsConditionHoldsKeepsWhatItTook) {
  int tickets = 0;  // guarded by the clock's lock
  int taken = 0;
  constexpr int kRounds = 200;
  {
    ClockThread waiter(realClock(), [&] {
      for (int round = 0; round < kRounds; ++round) {
        const bool took = realClock().waitFor(
            [&tickets] {
              if (tickets == 0) return false;
              --tickets;
              return true;
            },
            1);
        if (took) ++taken;
      }
    });
    for (int round = 0; round < kRounds; ++round) {
      realClock().sleepFor(1);
      realClock().notify([&tickets] { ++tickets; });
    }
  }
  int left = 0;
  realClock().notify([&] { left = tickets; });
  EXPECT_EQ(taken + left, kRounds);
}

}  // namespace
}  // namespace qiru
