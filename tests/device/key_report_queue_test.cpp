// The key report queue: what pop makes of each report, the numbers it
// learns, and what happens when the reader falls behind.

#include "device/key_report_queue.h"

#include <gtest/gtest.h>

#include "tests/device/report_bytes.h"

namespace qiru {
namespace {

using testing::reportBytes;

struct Popped {
  bool taken;
  KeyReport report;
};

Popped popOne(KeyReportQueue& queue) {
  KeyReport report{};
  const bool taken = queue.pop(report);
  return {taken, report};
}

void push(KeyReportQueue& queue, std::string_view hex, std::int64_t timeUs = 0) {
  ASSERT_TRUE(queue.push(reportBytes(hex).data(), timeUs)) << hex;
}

// Each report on its own, into a fresh queue.
TEST(KeyReportQueue, DecodesEachReport) {
  struct Case {
    std::string_view report;
    bool taken;
    std::int32_t pressedCount, maskA, maskB, chordCode;
  };
  const Case cases[] = {
      {"07 FE FF FF FF 39 30 00", true, 1, 0x100, 0, 0x01000000},  // key 9: the right hand's O
      {"05 FE FF FF FF 39 30 00", true, 1, 0, 0x800, 0x00000800},  // key 25: the left hand's D
      {"07 7F 7F FF 9F 39 30 00", true, 4, 0x60, 0x404, 0x00600404},  // BA:FL
      {"07 FF FF FF FF 00 00 00", false, 0, 0, 0, 0},  // no key, no number: nothing to take
      {"07 FF FF FF FF 39 30 00", true, 0, 0, 0, 0},   // no key, but a number to learn
  };
  for (const Case& c : cases) {
    KeyReportQueue queue;
    push(queue, c.report, 1234);
    const Popped popped = popOne(queue);
    EXPECT_EQ(popped.taken, c.taken) << c.report;
    EXPECT_EQ(popped.report.pressedCount, c.pressedCount) << c.report;
    EXPECT_EQ(popped.report.maskA, c.maskA) << c.report;
    EXPECT_EQ(popped.report.maskB, c.maskB) << c.report;
    EXPECT_EQ(popped.report.chordCode, c.chordCode) << c.report;
    EXPECT_EQ(popped.report.timeUs, 1234) << c.report;
    EXPECT_TRUE(queue.isEmpty()) << c.report;
  }
}

// Unread reports of both lengths keep their own layouts; a report of
// another length repeats the keys of the latest one before it.
TEST(KeyReportQueue, EachReportDecodesByItsOwnLength) {
  KeyReportQueue queue;
  push(queue, "07 FE FF FF FF 39 30 00");
  push(queue, "05 FE FF FF FF 39 30 00");
  push(queue, "06 00 00 00 00 39 30 00");
  push(queue, "07 FF FF FF FF 39 30 00");
  EXPECT_EQ(popOne(queue).report.chordCode, 0x01000000);
  EXPECT_EQ(popOne(queue).report.chordCode, 0x00000800);
  EXPECT_EQ(popOne(queue).report.chordCode, 0x00000800);
  EXPECT_EQ(popOne(queue).report.chordCode, 0);
}

TEST(KeyReportQueue, LearnsNumbersUntilBothAreKnown) {
  KeyReportQueue queue;
  push(queue, "07 FF FF FF FF 85 BF 82");  // 0x82BF85: 0x800000 + 180101
  EXPECT_TRUE(popOne(queue).taken);
  EXPECT_EQ(queue.secondNumber(), 180101);
  EXPECT_EQ(queue.machineNumber(), 0);

  push(queue, "07 FF FF FF FF 39 30 00");
  popOne(queue);
  EXPECT_EQ(queue.machineNumber(), 12345);

  // Both known: the self-report is no longer read, and a report with no key
  // is still taken.
  push(queue, "07 FF FF FF FF 00 00 00");
  push(queue, "07 FF FF FF FF 01 00 00");
  const Popped released = popOne(queue);
  EXPECT_TRUE(released.taken);
  EXPECT_EQ(released.report.chordCode, 0);
  popOne(queue);
  EXPECT_EQ(queue.machineNumber(), 12345);
  EXPECT_EQ(queue.secondNumber(), 180101);
}

TEST(KeyReportQueue, NumberAtTheSecondNumbersBaseIsAMachineNumber) {
  KeyReportQueue queue;
  push(queue, "07 FF FF FF FF 00 00 80");
  popOne(queue);
  EXPECT_EQ(queue.machineNumber(), 0x800000);
  EXPECT_EQ(queue.secondNumber(), 0);
}

// A reader that falls behind loses the newest reports, never the queued
// ones, and the queue never looks empty while reports are unread.
TEST(KeyReportQueue, FullQueueDropsTheNewestReport) {
  KeyReportQueue queue;
  ASSERT_EQ(queue.capacity(), kDefaultReportQueueCapacity);
  for (int i = 0; i < kDefaultReportQueueCapacity; ++i) push(queue, "07 FE FF FF FF 39 30 00", i);
  EXPECT_TRUE(queue.isFull());
  EXPECT_FALSE(queue.isEmpty());
  EXPECT_FALSE(queue.push(reportBytes("07 FF FF FF FF 39 30 00").data(), 1000));
  EXPECT_EQ(queue.droppedCount(), 1u);

  for (int i = 0; i < kDefaultReportQueueCapacity; ++i) {
    const Popped popped = popOne(queue);
    ASSERT_TRUE(popped.taken) << i;
    EXPECT_EQ(popped.report.timeUs, i);
    EXPECT_EQ(popped.report.chordCode, 0x01000000) << "the dropped report was the released one";
  }
  EXPECT_TRUE(queue.isEmpty());
  EXPECT_FALSE(popOne(queue).taken);

  push(queue, "07 FF FF FF FF 39 30 00", 2000);
  EXPECT_EQ(popOne(queue).report.timeUs, 2000) << "room again once read";
}

TEST(KeyReportQueue, SmallCapacitiesBecomeTheDefault) {
  EXPECT_EQ(KeyReportQueue(10).capacity(), kDefaultReportQueueCapacity);
  EXPECT_EQ(KeyReportQueue(150).capacity(), 150);
}

TEST(KeyReportQueue, ResetDropsUnreadReportsAndForgetsNumbers) {
  KeyReportQueue queue;
  push(queue, "07 FF FF FF FF 39 30 00", 1);
  push(queue, "07 FF FF FF FF 85 BF 82", 2);
  popOne(queue);
  popOne(queue);
  push(queue, "07 FE FF FF FF 39 30 00", 3);
  push(queue, "07 FE FF FF FF 39 30 00", 4);
  ASSERT_EQ(queue.machineNumber(), 12345);

  queue.reset();
  EXPECT_TRUE(queue.isEmpty());
  EXPECT_EQ(queue.machineNumber(), 0);
  EXPECT_EQ(queue.secondNumber(), 0);
  EXPECT_FALSE(popOne(queue).taken);

  // What comes after the reset is read, and a report of unknown length no
  // longer repeats keys from before it.
  push(queue, "06 00 00 00 00 39 30 00", 5);
  const Popped after = popOne(queue);
  EXPECT_EQ(after.report.timeUs, 5);
  EXPECT_EQ(after.report.chordCode, 0);
  EXPECT_EQ(queue.machineNumber(), 12345);
}

// A reset while the queue is full frees its slots once the reader comes by.
TEST(KeyReportQueue, ResetOfAFullQueueMakesRoomAtTheNextPop) {
  KeyReportQueue queue;
  for (int i = 0; i < kDefaultReportQueueCapacity; ++i) push(queue, "07 FE FF FF FF 39 30 00", i);
  queue.reset();
  EXPECT_FALSE(popOne(queue).taken);
  push(queue, "07 FF FF FF FF 39 30 00", 500);
  EXPECT_EQ(popOne(queue).report.timeUs, 500);
}

// take answers for every report it takes, so that a report pushed between
// a look at the queue and the taking is never lost; pop keeps its answer.
TEST(KeyReportQueue, TakeAnswersForEveryReportTaken) {
  KeyReportQueue queue;
  push(queue, "07 FF FF FF FF 00 00 00", 7);
  KeyReport taken{};
  EXPECT_TRUE(queue.take(taken));
  EXPECT_EQ(taken.timeUs, 7);
  EXPECT_EQ(taken.pressedCount, 0);
  EXPECT_FALSE(queue.take(taken));
  push(queue, "07 FF FF FF FF 00 00 00", 8);
  EXPECT_FALSE(popOne(queue).taken);
  EXPECT_TRUE(queue.isEmpty());
}

// Forget requests reach the consumer once; the latest moment counts, and a
// reset also asks to forget everything.
TEST(KeyReportQueue, ForgetRequestsReachTheConsumerOnce) {
  KeyReportQueue queue;
  EXPECT_FALSE(queue.hasForgetting());
  queue.forgetChordsBefore(500);
  queue.forgetChordsBefore(300);
  ASSERT_TRUE(queue.hasForgetting());
  Forgetting forgetting = queue.takeForgetting();
  EXPECT_FALSE(forgetting.machineReset);
  EXPECT_EQ(forgetting.beforeUs, 500);
  EXPECT_FALSE(queue.hasForgetting());
  queue.reset();
  forgetting = queue.takeForgetting();
  EXPECT_TRUE(forgetting.machineReset);
  EXPECT_EQ(forgetting.beforeUs, kNothingToForget);
}

// How far the consumer has caught up: what it published while it is awake
// or holds keys or a report is on its way; now once it sleeps with nothing.
TEST(KeyReportQueue, CaughtUpToNowOnlyWhenAsleepWithNothingLeft) {
  KeyReportQueue queue;
  queue.publishProgress(100, true);
  EXPECT_EQ(queue.caughtUpUs(900), 100) << "awake";
  queue.sleepBegins();
  EXPECT_EQ(queue.caughtUpUs(900), 900);
  queue.beginArrival();
  EXPECT_EQ(queue.caughtUpUs(900), 100) << "a report is being stamped";
  push(queue, "07 FE FF FF FF 39 30 00", 850);
  EXPECT_TRUE(queue.endArrival()) << "the sleeping consumer is to be woken";
  EXPECT_EQ(queue.caughtUpUs(900), 100) << "a report is queued";
  queue.sleepEnds();
  KeyReport taken{};
  queue.take(taken);
  queue.publishProgress(860, false);
  queue.sleepBegins();
  EXPECT_EQ(queue.caughtUpUs(900), 860) << "keys are held";
}

}  // namespace
}  // namespace qiru
