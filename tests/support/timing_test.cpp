#include "support/timing.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/message_pump.h"
#include "support/virtual_clock.h"

namespace qiru {
namespace {

TEST(FormatDuration, TwoDigitsPerPart) {
  struct Case {
    std::int32_t seconds;
    bool omitZeroHours;
    const char* expected;
  };
  const Case cases[] = {
      {0, false, "00:00:00"},     {59, false, "00:00:59"},    {60, false, "00:01:00"},
      {3599, false, "00:59:59"},  {3600, false, "01:00:00"},  {3725, false, "01:02:05"},
      {36000, false, "10:00:00"}, {359999, false, "99:59:59"}, {360000, false, "100:00:00"},
      {59, true, "00:59"},        {3725, true, "01:02:05"},   {-5, false, "00:00:00"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(formatDuration(c.seconds, c.omitZeroHours), c.expected) << c.seconds << " s";
  }
}

TEST(ElapsedTimeText, EmptyPatternIsTheMatchClockElseADateFromNewYear1970) {
  EXPECT_EQ(elapsedTimeText(3725), "01:02:05");
  EXPECT_EQ(elapsedTimeText(3725, "HH时mm分ss秒"), "01时02分05秒");
  EXPECT_EQ(elapsedTimeText(3725, "yyyy-MM-dd HH:mm:ss"), "1970-01-01 01:02:05");
  EXPECT_EQ(elapsedTimeText(90000, "yyyy-MM-dd HH:mm:ss"), "1970-01-02 01:00:00")
      << "a day and an hour carry into the date";
}

// A window's message pump that notes when it was served, and may set an
// event on a given service as a message handler would.
class RecordingPump final : public MessagePump {
 public:
  RecordingPump(const Clock& clock, ClockEvent* event = nullptr, int signalOnService = 0)
      : clock_(clock), event_(event), signalOnService_(signalOnService) {}
  void serveMessages() override {
    servedAtMs.push_back(clock_.nowMs());
    if (event_ != nullptr && static_cast<int>(servedAtMs.size()) == signalOnService_) event_->signal();
  }
  std::vector<std::int64_t> servedAtMs;

 private:
  const Clock& clock_;
  ClockEvent* event_;
  int signalOnService_;
};

std::int64_t longestGapMs(const std::vector<std::int64_t>& times) {
  std::int64_t longest = 0;
  for (std::size_t i = 1; i < times.size(); ++i) longest = std::max(longest, times[i] - times[i - 1]);
  return longest;
}

TEST(PreciseDelay, WaitsExactlyAndKeepsTheWindowServed) {
  VirtualClock clock(0);
  preciseDelay(clock, 800);
  EXPECT_EQ(clock.nowMs(), 800) << "a thread without windows just waits";

  RecordingPump pump(clock);
  ScopedMessagePump installed(pump);
  preciseDelay(clock, 800);
  EXPECT_EQ(clock.nowMs(), 1600);
  ASSERT_FALSE(pump.servedAtMs.empty());
  EXPECT_EQ(pump.servedAtMs.front(), 800);
  EXPECT_EQ(pump.servedAtMs.back(), 1600);
  EXPECT_LE(longestGapMs(pump.servedAtMs), kMessageServiceIntervalMs);
}

TEST(PumpingWait, EndsWhenTheEventIsSetOrAtTheTimeoutFromTheCall) {
  VirtualClock clock(0);
  ClockEvent event(clock);

  // A message handler sets the event on the third service (at 20 ms).
  RecordingPump signalling(clock, &event, 3);
  {
    ScopedMessagePump installed(signalling);
    EXPECT_TRUE(pumpingWait(event, 5000));
  }
  EXPECT_EQ(clock.nowMs(), 20);

  // Messages keep arriving all the time; the wait still ends after 250 ms.
  RecordingPump busy(clock);
  {
    ScopedMessagePump installed(busy);
    EXPECT_FALSE(pumpingWait(event, 250));
  }
  EXPECT_EQ(clock.nowMs(), 270);

  EXPECT_FALSE(pumpingWait(event)) << "without windows, a plain wait of 5000 ms";
  EXPECT_EQ(clock.nowMs(), 5270);
}

TEST(MatchLockCalls, DoNothingBeforeTheLockExistsAndNestOnceItDoes) {
  lock(nullptr);
  unlock(nullptr);

  VirtualClock clock(0);
  ClockLock matchLock(clock);
  lock(&matchLock);
  lock(&matchLock);
  unlock(&matchLock);
  unlock(&matchLock);
  EXPECT_TRUE(std::unique_lock(matchLock).owns_lock()) << "free again after two unlocks";
}

}  // namespace
}  // namespace qiru
