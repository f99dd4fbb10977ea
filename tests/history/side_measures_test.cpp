// The measures of a side, on small rounds made by hand whose figures are
// worked out by hand (times in ms from the round's start).

#include "history/side_measures.h"

#include <gtest/gtest.h>

#include "tests/history/round_builder.h"

namespace qiru {
namespace {

using testing::RoundBuilder;

struct Expected {
  std::int32_t entries, characters, chords, wrongChords, timedOut;
  std::int64_t playingMs;
  double charsPerMinute, chordsPerMinute, accuracyPercent;
  std::int64_t medianAnswerMs;
  std::vector<double> speedSteps;
  std::size_t missed;
  SideResult result;
};

struct Case {
  const char* name;
  PlayedRound round;
  Expected red, blue;
};

// A 1-minute timed race closed by the tick after the limit (60100). Red
// keys 你好 (2 chords, one wrong chord before) and 世界, then lets 再见
// time out; blue lets its first entry time out and strikes nothing.
PlayedRound timedRace() {
  return RoundBuilder(MatchMode::TimedRace, 300, 60'000)
      .chord(1, 2000).chord(1, 4000).chord(1, 5000, ChordOutcome::Answered)
      .taken(1, 1, "你好", 2, 0, 5000)
      .timedOut(2, 1, "你好", 0, 5100)
      .chord(1, 8000).chord(1, 12'000, ChordOutcome::Answered)
      .taken(1, 2, "世界", 2, 5000, 12'000)
      .timedOut(1, 3, "再见", 12'000, 17'100)
      .ended(60'100, 2, 0)
      .round;
}

// Race to finish over 3 entries: red gets through all three by 9000, the
// round closes at 9050; blue answers 一 at 6000 after one wrong chord.
PlayedRound raceToFinish() {
  return RoundBuilder(MatchMode::RaceToFinish, 3)
      .chord(1, 3000, ChordOutcome::Answered).taken(1, 1, "一", 1, 0, 3000)
      .chord(2, 4000)
      .chord(1, 5000).chord(1, 7000, ChordOutcome::Answered).taken(1, 2, "二三", 2, 3000, 7000)
      .chord(2, 6000, ChordOutcome::Answered).taken(2, 1, "一", 1, 0, 6000)
      .chord(1, 9000, ChordOutcome::Answered).taken(1, 3, "四", 1, 7000, 9000)
      .ended(9050, 3, 1)
      .round;
}

// Quick answer over 4 shared entries: red takes 一, blue takes 二 (red
// struck a chord meanwhile), 三 times out, red takes 四.
PlayedRound quickAnswer() {
  return RoundBuilder(MatchMode::QuickAnswer, 4)
      .chord(1, 2000, ChordOutcome::Answered).taken(1, 1, "一", 1, 0, 2000)
      .chord(1, 4000)
      .chord(2, 5000, ChordOutcome::Answered).taken(2, 2, "二", 1, 2000, 5000)
      .timedOut(1, 3, "三", 5000, 10'100)
      .chord(1, 12'000, ChordOutcome::Answered).taken(1, 4, "四", 1, 10'100, 12'000)
      .ended(12'000, 2, 1)
      .round;
}

// The second member of a relay: blue takes both entries; red, though its
// team leads the relay, loses the round.
PlayedRound relayMember() {
  RoundBuilder built(MatchMode::TeamRelay, 2);
  built.round.start.settings.memberNumber = 2;
  built.round.start.newMatch = false;
  built.round.result.teamTotals = {5, 3};
  return built.chord(1, 1000)
      .chord(2, 1500, ChordOutcome::Answered).taken(2, 1, "五", 1, 0, 1500)
      .chord(2, 4000, ChordOutcome::Answered).taken(2, 2, "六", 1, 1500, 4000)
      .ended(4000, 0, 2)
      .round;
}

// A 2-minute timed race stopped after 30 s: the playing time is the 30 s played.
PlayedRound stoppedRace() {
  return RoundBuilder(MatchMode::TimedRace, 600, 120'000)
      .chord(1, 20'000, ChordOutcome::Answered).taken(1, 1, "我们的", 1, 0, 20'000)
      .ended(30'000, 1, 0, true)
      .round;
}

const Case kCases[] = {
    {"timed race", timedRace(),
     {2, 4, 5, 1, 1, 60'000, 4.0, 5.0, 80.0, 6000, {12, 12, 0, 0, 0, 0}, 1, SideResult::Win},
     {0, 0, 0, 0, 1, 60'000, 0, 0, 0, 0, {0, 0, 0, 0, 0, 0}, 1, SideResult::Loss}},
    {"race to finish", raceToFinish(),
     {3, 4, 4, 0, 0, 9000, 26.667, 26.667, 100.0, 3000, {26.667}, 0, SideResult::Win},
     {1, 1, 2, 1, 0, 9050, 6.630, 13.260, 50.0, 6000, {6.630}, 0, SideResult::Loss}},
    {"quick answer", quickAnswer(),
     {2, 2, 3, 1, 1, 12'000, 10.0, 15.0, 66.667, 1950, {6, 30}, 2, SideResult::Win},
     {1, 1, 1, 0, 1, 12'000, 5.0, 5.0, 100.0, 3000, {6, 0}, 3, SideResult::Loss}},
    {"relay member", relayMember(),
     {0, 0, 1, 1, 0, 4000, 0, 15.0, 0, 0, {0}, 2, SideResult::Loss},
     {2, 2, 2, 0, 0, 4000, 30.0, 30.0, 100.0, 2000, {30}, 0, SideResult::Win}},
    {"stopped round", stoppedRace(),
     {1, 3, 1, 0, 0, 30'000, 6.0, 2.0, 100.0, 20'000, {0, 0, 18}, 0, SideResult::Win},
     {0, 0, 0, 0, 0, 30'000, 0, 0, 0, 0, {0, 0, 0}, 0, SideResult::Loss}},
};

void expectMeasures(const SideMeasures& m, const Expected& e) {
  EXPECT_EQ(m.entries, e.entries);
  EXPECT_EQ(m.score, e.entries);
  EXPECT_EQ(m.characters, e.characters);
  EXPECT_EQ(m.chords, e.chords);
  EXPECT_EQ(m.wrongChords, e.wrongChords);
  EXPECT_EQ(m.timedOut, e.timedOut);
  EXPECT_EQ(m.playingMs, e.playingMs);
  EXPECT_NEAR(m.charsPerMinute, e.charsPerMinute, 0.001);
  EXPECT_NEAR(m.chordsPerMinute, e.chordsPerMinute, 0.001);
  EXPECT_NEAR(m.accuracyPercent, e.accuracyPercent, 0.001);
  EXPECT_EQ(m.medianAnswerMs, e.medianAnswerMs);
  ASSERT_EQ(m.speedSteps.size(), e.speedSteps.size());
  for (std::size_t i = 0; i < e.speedSteps.size(); ++i) EXPECT_NEAR(m.speedSteps[i], e.speedSteps[i], 0.001) << i;
  EXPECT_EQ(m.missed.size(), e.missed);
  EXPECT_EQ(m.result, e.result);
}

TEST(SideMeasures, HandWorkedRounds) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    {
      SCOPED_TRACE("red");
      expectMeasures(measureSide(c.round, 1), c.red);
    }
    SCOPED_TRACE("blue");
    expectMeasures(measureSide(c.round, 2), c.blue);
  }
}

TEST(SideMeasures, MissedEntriesSayWhyAndCarryTheirCode) {
  const SideMeasures blue = measureSide(quickAnswer(), 2);
  ASSERT_EQ(blue.missed.size(), 3u);
  EXPECT_EQ(blue.missed[0].text, "一");
  EXPECT_EQ(blue.missed[0].code, "CODE1");
  EXPECT_FALSE(blue.missed[0].timedOut) << "red took it";
  EXPECT_TRUE(blue.missed[1].timedOut);
  EXPECT_EQ(blue.machine, 10002);
}

TEST(SideMeasures, SlowestEntriesComeSlowestFirstAndAtMostFive) {
  RoundBuilder built(MatchMode::RaceToFinish, 7);
  const std::int64_t answerMs[] = {800, 3000, 1200, 3000, 500, 2500, 100};
  std::int64_t at = 0;
  for (std::int32_t i = 0; i < 7; ++i) {
    built.taken(1, i + 1, "字", 1, at, at + answerMs[i]);
    at += answerMs[i];
  }
  const SideMeasures red = measureSide(built.ended(at, 7, 0).round, 1);
  ASSERT_EQ(red.slowest.size(), kSlowestEntriesShown);
  const std::int32_t positions[] = {2, 4, 6, 3, 1};  // equal times keep the earlier entry first
  for (std::size_t i = 0; i < kSlowestEntriesShown; ++i) EXPECT_EQ(red.slowest[i].position, positions[i]) << i;
  EXPECT_EQ(red.medianAnswerMs, 1200);
}

TEST(SideMeasures, CharactersCountEachCharacterOnce) {
  EXPECT_EQ(characterCount(""), 0);
  EXPECT_EQ(characterCount("abc"), 3);
  EXPECT_EQ(characterCount("北京"), 2);
  EXPECT_EQ(characterCount("A股，𠀀"), 4);
}

}  // namespace
}  // namespace qiru
