#include "support/virtual_clock.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/clock_event.h"
#include "support/clock_lock.h"
#include "support/clock_loop.h"
#include "support/clock_thread.h"

namespace qiru {
namespace {

constexpr std::int64_t kStartMs = 1'700'000'000'000;

// Waits without participants: each one moves virtual time by exactly its
// time-out and takes no real time (ten virtual hours would otherwise hang).
TEST(VirtualClock, WaitsAloneMoveTimeByTheirTimeout) {
  VirtualClock clock(kStartMs);
  clock.sleepFor(800);
  EXPECT_EQ(clock.nowMs(), kStartMs + 800);
  clock.sleepFor(10LL * 3600 * 1000);
  EXPECT_EQ(clock.nowMs(), kStartMs + 800 + 10LL * 3600 * 1000);

  ClockEvent event(clock);
  EXPECT_FALSE(event.wait(50));
  EXPECT_EQ(clock.nowMs(), kStartMs + 800 + 10LL * 3600 * 1000 + 50);

  const std::int64_t before = clock.nowMs();
  event.signal();
  EXPECT_TRUE(event.wait(50)) << "a set event is taken at once";
  EXPECT_FALSE(event.wait(0)) << "and the wait that took it reset it";
  EXPECT_EQ(clock.nowMs(), before);
}

// A clock started before 1970 (a report log whose first time is small)
// waits as any other: the deadline of a wait without end once overflowed
// there, and the wait never came back.
TEST(VirtualClock, AClockBefore1970WaitsAsAnyOther) {
  VirtualClock clock(-1);
  clock.sleepFor(5);
  EXPECT_EQ(clock.nowMs(), 4);
  VirtualClock farBack(std::numeric_limits<std::int64_t>::min() / 2);
  ClockEvent event(farBack);
  EXPECT_FALSE(event.wait(10));
  EXPECT_EQ(farBack.nowMs(), std::numeric_limits<std::int64_t>::min() / 2 + 10);
}

struct Stamp {
  std::string who;
  std::int64_t atMs;
  friend bool operator==(const Stamp&, const Stamp&) = default;
};

std::ostream& operator<<(std::ostream& out, const Stamp& stamp) {
  return out << stamp.who << "@" << stamp.atMs;
}

// Three threads tick every 30, 50 and 70 ms of virtual time. Whatever the
// scheduler does, they take turns in time order, and at equal times the one
// that has waited longer goes first (B before A at 150, C before A at 210).
TEST(VirtualClock, ParticipantsTakeTurnsInTimeOrderEveryRun) {
  const std::vector<Stamp> expected = {
      {"A", 30},  {"B", 50},  {"A", 60},  {"C", 70},  {"A", 90},  {"B", 100}, {"A", 120},
      {"C", 140}, {"B", 150}, {"A", 150}, {"A", 180}, {"B", 200}, {"C", 210}, {"A", 210},
  };
  for (int run = 0; run < 20; ++run) {
    VirtualClock clock(0);
    std::vector<Stamp> stamps;  // written only by the thread holding the turn
    {
      ClockParticipation driver(clock);
      std::vector<std::unique_ptr<ClockThread>> threads;
      for (const auto& [who, periodMs] : {std::pair{"A", 30}, {"B", 50}, {"C", 70}}) {
        threads.push_back(std::make_unique<ClockThread>(clock, [&clock, &stamps, who, periodMs] {
          for (;;) {
            clock.sleepFor(periodMs);
            if (clock.nowMs() > 210) return;
            stamps.push_back({who, clock.nowMs()});
          }
        }));
      }
      for (auto& thread : threads) thread->join();
    }
    ASSERT_EQ(stamps, expected) << "run " << run;
    EXPECT_EQ(clock.nowMs(), 280) << "C's last wait ends last";
  }
}

// The same tickers, some of them loops of steps that the clock runs on the
// threads that pass the turn on: a loop takes its turns exactly where a
// thread would, so a simulation gives the same result either way.
TEST(VirtualClock, LoopsOfStepsTakeTheirTurnsAsThreadsWould) {
  const std::vector<Stamp> expected = {
      {"A", 30},  {"B", 50},  {"A", 60},  {"C", 70},  {"A", 90},  {"B", 100}, {"A", 120},
      {"C", 140}, {"B", 150}, {"A", 150}, {"A", 180}, {"B", 200}, {"C", 210}, {"A", 210},
  };
  for (const std::string loops : {"B", "AC", "ABC"}) {
    VirtualClock clock(0);
    std::vector<Stamp> stamps;  // written only by whoever holds the turn
    {
      ClockParticipation driver(clock);
      std::vector<std::unique_ptr<ClockThread>> threads;
      std::vector<std::unique_ptr<ClockLoop>> steppers;
      for (const auto& [who, periodMs] : {std::pair{"A", 30}, {"B", 50}, {"C", 70}}) {
        if (loops.find(who) == std::string::npos) {
          threads.push_back(std::make_unique<ClockThread>(clock, [&clock, &stamps, who, periodMs] {
            for (;;) {
              clock.sleepFor(periodMs);
              if (clock.nowMs() > 210) return;
              stamps.push_back({who, clock.nowMs()});
            }
          }));
          continue;
        }
        auto started = std::make_shared<bool>(false);
        const auto tick = [&clock, &stamps, who, periodMs, started]() -> std::int64_t {
          if (std::exchange(*started, true)) {
            if (clock.nowMs() > 210) return kLoopEnds;
            stamps.push_back({who, clock.nowMs()});
          }
          return periodMs;
        };
        steppers.push_back(std::make_unique<ClockLoop>(clock, ClockSteps{tick, [] { return false; }}, StepsMayWait::No));
      }
      for (auto& thread : threads) thread->join();
      for (auto& stepper : steppers) stepper->join();
      EXPECT_EQ(clock.threadsWaiting(), 0u) << "loops " << loops;
    }
    EXPECT_EQ(stamps, expected) << "loops " << loops;
    EXPECT_EQ(clock.nowMs(), 280) << "loops " << loops;
  }
}

// A loop waiting without end is woken by a notify from a thread at that
// very moment, and ends when its step says so.
TEST(VirtualClock, LoopOfStepsIsWokenAtTheMomentOfTheNotify) {
  VirtualClock clock(0);
  bool posted = false;              // guarded by the clock's lock
  std::vector<std::int64_t> steps;  // written only by whoever holds the turn
  {
    ClockParticipation driver(clock);
    ClockLoop loop(
        clock,
        {[&] {
           steps.push_back(clock.nowMs());
           return steps.size() == 2 ? kLoopEnds : kWaitForeverMs;
         },
         [&] { return std::exchange(posted, false); }},
        StepsMayWait::No);
    ClockThread poster(clock, [&] {
      clock.sleepFor(40);
      clock.notify([&] { posted = true; });
      clock.sleepFor(10);
    });
    loop.join();
    EXPECT_EQ(clock.nowMs(), 40);
    poster.join();
  }
  EXPECT_EQ(steps, (std::vector<std::int64_t>{0, 40}));
  EXPECT_EQ(clock.nowMs(), 50);
  EXPECT_EQ(clock.threadsWaiting(), 0u);
}

// A loop whose steps wait only at times: the steps it does not vouch for
// run on its own thread and wait there (a start key's countdown on a
// reader), the others are run by the clock; either way at their moments.
TEST(VirtualClock, LoopStepsThatWaitRunOnTheLoopsOwnThread) {
  VirtualClock clock(0);
  std::vector<std::int64_t> stepsAt;  // written only by whoever holds the turn
  {
    ClockParticipation driver(clock);
    ClockLoop loop(clock,
                   {.step =
                        [&]() -> std::int64_t {
                          stepsAt.push_back(clock.nowMs());
                          if (stepsAt.size() == 6) return kLoopEnds;
                          // Every other step waits 5 ms within itself.
                          if (stepsAt.size() % 2 == 0) clock.sleepFor(5);
                          return 10;
                        },
                    .woken = [] { return false; },
                    .nextStepWithoutWaiting = [&] { return stepsAt.size() % 2 == 0; }},
                   StepsMayWait::AtTimes);
    loop.join();
    EXPECT_EQ(clock.threadsWaiting(), 0u);
  }
  EXPECT_EQ(stepsAt, (std::vector<std::int64_t>{0, 10, 25, 35, 50, 60}));
}

// A thread that waits for a flag, looking every 20 ms, acts at the same
// moment and in the same order among the other threads whether it looks
// itself or hands its looks to a loop of steps and joins it: the thread
// that joins an ended loop has the loop's turn.
TEST(VirtualClock, ThreadJoiningALoopOfLooksGoesOnInTheLoopsTurn) {
  const std::vector<Stamp> expected = {{"setter", 50}, {"waiter", 60}, {"ticker", 60}, {"ticker", 80}};
  for (const bool byLoop : {false, true}) {
    VirtualClock clock(0);
    std::vector<Stamp> stamps;  // written only by whoever holds the turn
    bool flag = false;          // likewise
    {
      ClockParticipation driver(clock);
      ClockThread waiter(clock, [&] {
        if (byLoop) {
          ClockLoop looks(clock,
                          {.step = [&] { return flag ? kLoopEnds : std::int64_t{20}; },
                           .woken = [] { return false; },
                           .firstStepAfterMs = 20},
                          StepsMayWait::No);
          looks.join();
        } else {
          while (!flag) clock.sleepFor(20);
        }
        stamps.push_back({"waiter", clock.nowMs()});
      });
      ClockThread ticker(clock, [&] {
        for (int tick = 1; tick <= 4; ++tick) {
          clock.sleepFor(20);
          if (flag) stamps.push_back({"ticker", clock.nowMs()});
        }
      });
      ClockThread setter(clock, [&] {
        clock.sleepFor(50);
        flag = true;
        stamps.push_back({"setter", clock.nowMs()});
      });
    }
    EXPECT_EQ(stamps, expected) << (byLoop ? "looks by a loop" : "looks by the thread");
  }
}

// The countdown holds the match lock across its waits; the other machine's
// thread, asking for the lock meanwhile, gets it only when it is released.
TEST(VirtualClock, LockHeldAcrossWaitsKeepsTheOtherThreadOut) {
  VirtualClock clock(0);
  ClockLock matchLock(clock);
  std::vector<Stamp> stamps;
  {
    ClockParticipation driver(clock);
    ClockThread countdown(clock, [&] {
      std::lock_guard hold(matchLock);
      stamps.push_back({"countdown locked", clock.nowMs()});
      for (int step = 0; step < 4; ++step) {
        std::lock_guard again(matchLock);  // re-entrant
        clock.sleepFor(800);
      }
      stamps.push_back({"countdown unlocks", clock.nowMs()});
    });
    ClockThread other(clock, [&] {
      clock.sleepFor(100);
      std::lock_guard hold(matchLock);
      stamps.push_back({"other locked", clock.nowMs()});
    });
  }
  const std::vector<Stamp> expected = {
      {"countdown locked", 0}, {"countdown unlocks", 3200}, {"other locked", 3200}};
  EXPECT_EQ(stamps, expected);
}

TEST(VirtualClock, EventFromAnotherThreadEndsTheWaitAtThatMoment) {
  struct Case {
    std::int64_t signalAtMs;
    std::int64_t timeoutMs;
    bool signalled;
    std::int64_t endsAtMs;
  };
  for (const Case& c : {Case{40, 1000, true, 40}, Case{40, 30, false, 30}, Case{40, kWaitForeverMs, true, 40}}) {
    VirtualClock clock(0);
    ClockEvent event(clock);
    bool result = false;
    std::int64_t endedAtMs = -1;
    {
      ClockParticipation driver(clock);
      ClockThread waiter(clock, [&] {
        result = event.wait(c.timeoutMs);
        endedAtMs = clock.nowMs();
      });
      ClockThread signaller(clock, [&] {
        clock.sleepFor(c.signalAtMs);
        event.signal();
      });
    }
    EXPECT_EQ(result, c.signalled) << "time-out " << c.timeoutMs;
    EXPECT_EQ(endedAtMs, c.endsAtMs) << "time-out " << c.timeoutMs;
  }
}

// The turn is handed to threads that end the moment they have it: each of
// these lives for one wait, so threads come and go while the others hand
// the turn on (the sanitizer builds watch the records of the threads being
// woken). All of them end, and nothing is left waiting on the clock.
TEST(VirtualClock, ThreadsThatEndAsSoonAsTheyHaveTheTurnAreHandedItSafely) {
  constexpr int kThreads = 200;
  VirtualClock clock(0);
  int ended = 0;  // written only by the thread holding the turn
  {
    ClockParticipation driver(clock);
    std::vector<std::unique_ptr<ClockThread>> threads;
    for (int n = 0; n < kThreads; ++n) {
      threads.push_back(std::make_unique<ClockThread>(clock, [&clock, &ended, n] {
        clock.sleepFor(n % 7);
        ++ended;
      }));
    }
    threads.clear();
    EXPECT_EQ(clock.threadsWaiting(), 0u);
  }
  EXPECT_EQ(ended, kThreads);
  EXPECT_EQ(clock.nowMs(), 6) << "the longest wait ends last";
}

}  // namespace
}  // namespace qiru
