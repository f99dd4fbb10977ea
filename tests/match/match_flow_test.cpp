// The match flow in virtual time: report-in and start, the round, its
// closing in each mode, the confirm key, time-outs and flash.

#include <gtest/gtest.h>

#include "match/key_record.h"
#include "match/match_engine.h"
#include "match/online_labels.h"
#include "match/result_texts.h"
#include "support/clock_thread.h"
#include "tests/match/match_rig.h"

namespace qiru {
namespace {

using testing::kRigStartMs;
using testing::MatchRig;
using ui::Control;

using MatchFlow = MatchRig;

TEST_F(MatchFlow, ReportInPromptsUntilBothMachinesAreIn) {
  key(1, "A:");
  EXPECT_EQ(headline(Control::超级编辑框_题目1), kReportInMachine1);
  machines.reportedIn[0] = true;
  key(1, "A:");
  EXPECT_EQ(headline(Control::超级编辑框_题目1), kReportInMachine2);
  machines.reportedIn[1] = true;
  key(2, "A:");
  EXPECT_EQ(headline(Control::超级编辑框_题目1), kPressStartKey);
  EXPECT_EQ(engine.state(), MatchState::Idle);
  key(2, ":I");  // machine 2's start key starts the match as well
  EXPECT_EQ(engine.state(), MatchState::Running);
  EXPECT_EQ(clock.nowMs() - kRigStartMs, 4 * kCountdownStepMs);
  EXPECT_FALSE(model.get(Control::选择夹_模式, &ui::ControlState::enabled));
  EXPECT_EQ(model.get(Control::时钟1, &ui::ControlState::timerPeriodMs), kMatchTickMs);
}

TEST_F(MatchFlow, MachineOneAloneGetsASimulatedMachineTwo) {
  machines.open[1] = false;
  machines.reportedIn[0] = true;
  key(1, "A:");
  EXPECT_TRUE(machines.simulated);
  key(1, ":I");
  EXPECT_EQ(engine.state(), MatchState::Running);
}

TEST_F(MatchFlow, StartKeysOfBothMachinesAtOnceStartOneMatch) {
  model.setCurrentPage(Control::选择夹_模式, static_cast<int>(MatchMode::QuickAnswer));
  machines.reportBothIn();
  {
    ClockThread red(clock, [this] { key(1, ":I"); });
    ClockThread blue(clock, [this] { key(2, ":I"); });
  }
  EXPECT_EQ(engine.state(), MatchState::Running);
  EXPECT_LT(clock.nowMs() - kRigStartMs, 2 * 4 * kCountdownStepMs) << "a second countdown ran";
}

TEST_F(MatchFlow, NoMaterialSelectedAbandonsTheStartWithAMessage) {
  model.setCurrentItem(Control::组合框_素材, ui::kNoCurrentItem);
  start(MatchMode::QuickAnswer, Control::编辑框_抢答, "20");
  EXPECT_EQ(engine.state(), MatchState::Idle);
  EXPECT_TRUE(model.get(Control::选择夹_模式, &ui::ControlState::enabled));
  EXPECT_TRUE(model.get(Control::选择夹_素材, &ui::ControlState::enabled));
  ASSERT_EQ(messages.records().size(), 1u);
  EXPECT_EQ(messages.records()[0].request.text, kNoMaterialText);
}

// Both sides complete the shared entry within a few milliseconds: the side
// queued first takes it, the other's chord is neither counted nor recorded.
TEST_F(MatchFlow, QuickAnswerGoesToTheSideQueuedFirst) {
  start(MatchMode::QuickAnswer, Control::编辑框_抢答, "20");
  const MatchEngine::ShownEntry shown = engine.shownEntry(1);
  for (const std::int32_t side : {2, 1}) {
    for (const std::string& chord : answers.chordsOf(shown.text)) key(side, chord);
  }
  waitMs(testing::kWorkerTurnMs);
  EXPECT_EQ(engine.side(2).roundScore, 1);
  EXPECT_EQ(engine.side(1).roundScore, 0);
  EXPECT_EQ(engine.side(1).keyCount, 0);
  EXPECT_EQ(model.text(keyRecordBox(1)), kRedKeyRecordHeading);
  EXPECT_EQ(model.text(Control::标签_二号机成绩), "1");
  EXPECT_EQ(engine.side(1).entryPosition, 2);
  EXPECT_EQ(engine.side(2).entryPosition, 2);
}

// A wrong chord's mark goes with the entry it was struck at: when the
// rival takes the shared entry, the side's label shows the next entry's
// empty answer, not a red tile with nothing in it.
TEST_F(MatchFlow, AWrongChordsMarkGoesWhenTheRivalTakesTheEntry) {
  start(MatchMode::QuickAnswer, Control::编辑框_抢答, "20");
  const auto background = [&] { return model.get(Control::标签_一号机在线, &ui::ControlState::background); };
  key(1, "X:");
  waitMs(testing::kWorkerTurnMs);
  ASSERT_EQ(background(), ui::kWrongChordBackground);
  answer(2);
  EXPECT_EQ(engine.side(2).roundScore, 1);
  EXPECT_EQ(model.text(Control::标签_一号机在线), "");
  EXPECT_EQ(background(), kConnectedBackground);
  EXPECT_EQ(model.get(Control::标签_一号机在线, &ui::ControlState::textColour), sideColour(1));
}

// The first to complete the shared entry takes it, whichever chord reached
// the match first; equal stamps go to the chord begun first. The other
// side's chord is neither counted nor recorded.
TEST_F(MatchFlow, QuickAnswerGoesToTheSideThatFinishedFirst) {
  struct Case {
    const char* what;
    std::int64_t blueBeganUs, blueCompletedUs, redBeganUs, redCompletedUs;  // after the entry was shown
    std::int32_t winner;
  };
  const Case cases[] = {
      {"red finished 1 ms earlier, queued later", 200'000, 301'000, 201'000, 300'000, 1},
      {"blue finished 2 ms earlier, queued first", 200'000, 300'000, 199'000, 302'000, 2},
      {"the same microsecond: red began first", 200'500, 300'000, 200'000, 300'000, 1},
  };
  for (const Case& c : cases) {
    const std::int32_t position = engine.state() == MatchState::Running ? engine.side(1).entryPosition : 1;
    if (engine.state() != MatchState::Running) start(MatchMode::QuickAnswer, Control::编辑框_抢答, "20");
    const SideState before[] = {engine.side(1), engine.side(2)};
    const std::string chord = answers.chordsOf(engine.shownEntry(1).text).front();
    const std::int64_t shownUs = engine.side(1).shownAtUs;
    waitMs(400);
    stampedKey(2, chord, shownUs + c.blueBeganUs, shownUs + c.blueCompletedUs);
    stampedKey(1, chord, shownUs + c.redBeganUs, shownUs + c.redCompletedUs);
    waitMs(testing::kWorkerTurnMs);
    const std::int32_t loser = 3 - c.winner;
    EXPECT_EQ(engine.side(c.winner).roundScore, before[c.winner - 1].roundScore + 1) << c.what;
    EXPECT_EQ(engine.side(loser).roundScore, before[loser - 1].roundScore) << c.what;
    EXPECT_EQ(engine.side(loser).keyCount, before[loser - 1].keyCount) << c.what << ": the lost chord was counted";
    EXPECT_EQ(engine.side(1).entryPosition, position + 1) << c.what;
  }
}

// A chord begun before the shared entry was shown (held across the answer
// that took the entry before, or across the countdown) is lost.
TEST_F(MatchFlow, ChordsBegunBeforeTheEntryWasShownAreLost) {
  start(MatchMode::QuickAnswer, Control::编辑框_抢答, "20");
  const std::int64_t shownUs = engine.side(1).shownAtUs;
  const std::string chord = answers.chordsOf(engine.shownEntry(1).text).front();
  waitMs(300);
  stampedKey(2, chord, shownUs - 5'000, clock.monotonicUs());
  waitMs(testing::kWorkerTurnMs);
  EXPECT_EQ(engine.side(2).keyCount, 0);
  EXPECT_EQ(engine.side(1).entryPosition, 1);
  EXPECT_EQ(model.text(keyRecordBox(2)), kBlueKeyRecordHeading);
  key(2, chord);
  waitMs(testing::kWorkerTurnMs);
  EXPECT_EQ(engine.side(2).roundScore, 1) << "a chord begun after the entry counts";
}

// A time-out moves the shared entry on without anyone taking it: a chord
// under way at that moment is no lost chord. It is counted, recorded and
// checked against the entry now shown, as in the other modes.
TEST_F(MatchFlow, AChordUnderWayAtASharedTimeOutIsRecorded) {
  start(MatchMode::QuickAnswer, Control::编辑框_抢答, "20");
  const std::int64_t deadlineUs = engine.side(1).shownAtUs + kEntryTimeoutMs * kUsPerMs;
  waitMs(kEntryTimeoutMs + 2 * kMatchTickMs);
  ASSERT_EQ(engine.side(1).entryPosition, 2);
  ASSERT_GT(engine.side(1).shownAtUs, deadlineUs);
  const std::string chord = answers.chordsOf(engine.shownEntry(2).text).front();
  stampedKey(2, chord, deadlineUs - 30'000, clock.monotonicUs());
  waitMs(testing::kWorkerTurnMs);
  EXPECT_EQ(engine.side(2).keyCount, 1);
  EXPECT_EQ(model.text(keyRecordBox(2)), std::string(kBlueKeyRecordHeading) + "\r\n" + keyRecordText(1, chord, chord));
}

// A correct answer completed just before the entry's time-out counts, even
// when the match clock's tick comes before the worker has taken it.
TEST_F(MatchFlow, TimeOutIsJudgedByTheChordsStamp) {
  start(MatchMode::QuickAnswer, Control::编辑框_抢答, "20");
  const std::int64_t shownUs = engine.side(1).shownAtUs;
  const std::string chord = answers.chordsOf(engine.shownEntry(1).text).front();
  const std::int64_t deadlineUs = shownUs + kEntryTimeoutMs * kUsPerMs;
  waitMs(kEntryTimeoutMs + 50);
  ASSERT_EQ(engine.side(1).entryPosition, 1);
  stampedKey(1, chord, deadlineUs - 60'000, deadlineUs - 10'000);
  engine.onTick();  // before the worker's turn
  waitMs(testing::kWorkerTurnMs);
  EXPECT_EQ(engine.side(1).roundScore, 1);
  EXPECT_EQ(engine.side(1).entryPosition, 2);
}

TEST_F(MatchFlow, RaceToFinishClosesWhenOneSidePassesItsLastEntry) {
  start(MatchMode::RaceToFinish, Control::编辑框_争先, "20");
  answer(2);
  for (int i = 0; i < 20; ++i) answer(1);
  waitFor(MatchState::ResultShown);
  EXPECT_EQ(model.text(Control::标签_结果), "本局红方获胜！");
  EXPECT_EQ(model.get(Control::标签_结果, &ui::ControlState::textColour), kRedAheadColour);
  EXPECT_EQ(model.text(Control::标签_红方成绩), "20");
  EXPECT_EQ(model.text(Control::标签_蓝方成绩), "1");
  EXPECT_FALSE(model.shown(Control::标签_局成绩));
  EXPECT_TRUE(model.shown(Control::外形框_结果));
  EXPECT_FALSE(model.get(Control::QiruPK, &ui::ControlState::enabled));

  // Only the confirm key ends the result.
  key(2, "A:");
  EXPECT_EQ(engine.state(), MatchState::ResultShown);
  const std::string redLog = model.text(keyRecordBox(1));
  confirm(2);
  EXPECT_EQ(engine.state(), MatchState::Idle);
  EXPECT_FALSE(model.shown(Control::外形框_结果));
  EXPECT_EQ(headline(Control::超级编辑框_题目1), kIdleHeadline);
  EXPECT_EQ(note(Control::超级编辑框_题目1), kIdleNote);
  EXPECT_EQ(model.text(keyRecordBox(1)), redLog) << "the key log stays readable until the next round starts";
  EXPECT_TRUE(model.get(Control::QiruPK, &ui::ControlState::enabled));
  EXPECT_TRUE(model.get(Control::选择夹_模式, &ui::ControlState::enabled));
  EXPECT_FALSE(machines.hasReportedIn(1)) << "the next pair reports in again";
}

// The program closes within the result pause after a round's last answer:
// once stop() returns, the worker has ended and calls nothing any more (the
// machines it would clear are about to go), and no key starts a round.
TEST_F(MatchFlow, StopInTheResultPauseEndsTheWorkerBeforeItReturns) {
  start(MatchMode::RaceToFinish, Control::编辑框_争先, "5");
  for (int i = 0; i < 5; ++i) answer(1);
  ASSERT_EQ(engine.state(), MatchState::Closing) << "the worker should be in the result pause";
  const int clearsBefore = machines.queueClears;
  engine.stop();
  EXPECT_EQ(machines.queueClears, clearsBefore);
  waitMs(2 * kResultPauseMs);
  EXPECT_EQ(machines.queueClears, clearsBefore) << "the worker went on after stop()";
  confirm(1);
  key(1, ":I");
  waitMs(5 * kCountdownStepMs);
  EXPECT_NE(engine.state(), MatchState::Running);
}

TEST_F(MatchFlow, AStoppedRoundClosesAtOnceWithTheScoresSoFar) {
  start(MatchMode::RaceToFinish, Control::编辑框_争先, "20");
  answer(1);
  answer(1);
  answer(2);
  const std::int64_t stoppedAt = clock.nowMs();
  engine.stopRound();
  EXPECT_EQ(engine.state(), MatchState::ResultShown);
  EXPECT_EQ(clock.nowMs() - stoppedAt, kResultPauseMs) << "only the result pause";
  EXPECT_EQ(model.text(Control::标签_结果), "本局红方获胜！");
  EXPECT_EQ(model.text(Control::标签_红方成绩), "2");
  EXPECT_EQ(model.text(Control::标签_蓝方成绩), "1");
  EXPECT_TRUE(model.shown(Control::标签_中止));
  EXPECT_EQ(model.text(Control::标签_中止), kRoundStoppedMark);
  EXPECT_TRUE(engine.roundStopped());
  EXPECT_EQ(model.get(Control::时钟1, &ui::ControlState::timerPeriodMs), 0);

  // No round runs: a stop does nothing, and the next round is a whole one.
  engine.stopRound();
  EXPECT_EQ(engine.state(), MatchState::ResultShown);
  confirm(1);
  engine.stopRound();
  EXPECT_EQ(engine.state(), MatchState::Idle);
  start(MatchMode::RaceToFinish, Control::编辑框_争先, "20");
  EXPECT_EQ(model.text(keyRecordBox(1)), kRedKeyRecordHeading) << "a new round starts a new key log";
  EXPECT_FALSE(engine.roundStopped());
  for (int i = 0; i < 20; ++i) answer(2);
  waitFor(MatchState::ResultShown);
  EXPECT_FALSE(model.shown(Control::标签_中止));
  EXPECT_FALSE(engine.roundStopped());
}

TEST_F(MatchFlow, AStopDuringTheCountdownCutsItShort) {
  machines.reportBothIn();
  model.setCurrentPage(Control::选择夹_模式, static_cast<int>(MatchMode::QuickAnswer));
  {
    ClockThread starter(clock, [this] { key(1, ":I"); });
    waitMs(kCountdownStepMs + kCountdownStepMs / 2);
    ASSERT_EQ(engine.state(), MatchState::CountingDown);
    engine.stopRound();
  }
  waitFor(MatchState::ResultShown);
  EXPECT_LT(clock.nowMs() - kRigStartMs, 3 * kCountdownStepMs + kResultPauseMs) << "the countdown ran on";
  EXPECT_EQ(model.text(Control::标签_结果), "本局双方战平！");
  EXPECT_TRUE(model.shown(Control::标签_中止));
  EXPECT_TRUE(engine.roundStopped());
}

TEST_F(MatchFlow, UnansweredEntriesTimeOutAndAQuietRoundIsADraw) {
  start(MatchMode::QuickAnswer, Control::编辑框_抢答, "20");
  waitMs(kEntryTimeoutMs + 2 * kMatchTickMs);
  EXPECT_EQ(engine.side(1).entryPosition, 2);
  EXPECT_EQ(engine.side(2).entryPosition, 2) << "the shared entry moves on for both";
  waitFor(MatchState::ResultShown);
  EXPECT_EQ(model.text(Control::标签_结果), "本局双方战平！");
  EXPECT_EQ(model.get(Control::标签_结果, &ui::ControlState::textColour), kDrawColour);
  EXPECT_EQ(model.text(Control::标签_红方成绩), "0");
}

TEST_F(MatchFlow, TimedRaceSidesTimeOutAloneAndTheTimeLimitEndsTheRound) {
  start(MatchMode::TimedRace, Control::编辑框_限时, "1");
  answer(1);
  waitMs(kEntryTimeoutMs - 2 * kMatchTickMs);
  EXPECT_EQ(engine.side(1).entryPosition, 2);
  EXPECT_EQ(engine.side(2).entryPosition, 1);
  waitMs(3 * kMatchTickMs);
  EXPECT_EQ(engine.side(2).entryPosition, 2) << "blue's first entry timed out";
  waitFor(MatchState::ResultShown);
  EXPECT_GE(clock.nowMs() - kRigStartMs, 4 * kCountdownStepMs + kMsPerMinute);
  EXPECT_EQ(engine.side(1).entryPosition, 0) << "a tick that closed the round showed an entry again";
  EXPECT_EQ(model.text(Control::标签_结果), "本局红方获胜！");
  EXPECT_EQ(model.text(Control::标签_时间), "00:01:00");
}

TEST_F(MatchFlow, FlashHidesEntriesAfterTheFlashTime) {
  model.setChecked(Control::选择框_闪灭, true);
  model.setText(Control::编辑框_闪灭, "0.3");
  start(MatchMode::RaceToFinish, Control::编辑框_争先, "20");
  const std::string shown = engine.shownEntry(1).text;
  waitMs(300);
  EXPECT_EQ(headline(Control::超级编辑框_题目1), shown);
  waitMs(2 * kMatchTickMs);  // the first tick after the flash time
  EXPECT_EQ(headline(Control::超级编辑框_题目1), kHiddenEntry);
  EXPECT_EQ(headline(Control::超级编辑框_题目2), kHiddenEntry);
  answer(1);
  EXPECT_EQ(headline(Control::超级编辑框_题目1), engine.shownEntry(1).text);
}

TEST_F(MatchFlow, KeyRecordsListEveryProcessedChord) {
  start(MatchMode::RaceToFinish, Control::编辑框_争先, "20");
  key(1, "A:", "a'");
  key(1, "F:I", "EN");
  waitMs(testing::kWorkerTurnMs);
  EXPECT_EQ(model.text(keyRecordBox(1)), "红方按键记录：\r\n1 a' - A:\r\n2 EN - F:I");
  EXPECT_EQ(model.text(keyRecordBox(2)), "蓝方按键记录：");
}

TEST_F(MatchFlow, ARealMachineTwoStaysConnectedAfterTheRound) {
  start(MatchMode::QuickAnswer, Control::编辑框_抢答, "20");
  waitFor(MatchState::ResultShown);
  confirm();
  EXPECT_FALSE(machines.simulated);
  EXPECT_TRUE(machines.isOpen(2));

  machines.open[1] = false;
  machines.reportedIn[0] = true;
  key(1, "A:");
  key(1, ":I");
  waitFor(MatchState::ResultShown);
  confirm();
  EXPECT_FALSE(machines.simulated) << "the simulated machine 2 is let go";
}

class PairFlow : public MatchRig {
 protected:
  PairFlow() : MatchRig(testing::kPairMaterial) {}
};

// A two-chord entry A|B: A, X, B leaves X|B and does not answer; the
// confirm key clears; A then B answers.
TEST_F(PairFlow, MultiChordEntriesAnswerOnlyInOrder) {
  start(MatchMode::RaceToFinish, Control::编辑框_争先, "20");
  const auto chords = answers.chordsOf(engine.shownEntry(1).text);
  ASSERT_EQ(chords.size(), 2u);
  key(1, chords[0]);
  key(1, "X:");
  key(1, chords[1]);
  waitMs(testing::kWorkerTurnMs);
  EXPECT_EQ(engine.side(1).input.chords, "X:|" + chords[1]);
  EXPECT_EQ(engine.side(1).roundScore, 0);
  key(1, chords[0]);
  confirm();
  waitMs(testing::kWorkerTurnMs);
  EXPECT_EQ(engine.side(1).input.chords, "");
  EXPECT_EQ(model.text(Control::标签_一号机在线), "");
  EXPECT_EQ(model.get(Control::标签_一号机在线, &ui::ControlState::alignment), ui::Alignment::Right);
  key(1, chords[0]);
  key(1, chords[1]);
  waitMs(testing::kWorkerTurnMs);
  EXPECT_EQ(engine.side(1).roundScore, 1);
  EXPECT_EQ(engine.side(1).entryPosition, 2);
}

// A wrong chord turns the side's input label red until its next chord and
// draws its key log line in red; the line's text is the usual one.
TEST_F(PairFlow, AWrongChordIsMarkedUntilTheNextChord) {
  start(MatchMode::RaceToFinish, Control::编辑框_争先, "20");
  const auto chords = answers.chordsOf(engine.shownEntry(1).text);
  const auto background = [&] { return model.get(Control::标签_一号机在线, &ui::ControlState::background); };
  const auto marked = [&] { return model.get(keyRecordBox(1), &ui::ControlState::markedLines); };
  key(1, chords[0]);
  waitMs(testing::kWorkerTurnMs);
  EXPECT_NE(background(), ui::kWrongChordBackground) << "the first chord of the answer is right";
  EXPECT_TRUE(marked().empty());

  key(1, "X:");
  waitMs(testing::kWorkerTurnMs);
  EXPECT_EQ(background(), ui::kWrongChordBackground);
  EXPECT_EQ(model.get(Control::标签_一号机在线, &ui::ControlState::textColour), ui::kWhite);
  EXPECT_EQ(marked(), std::vector<int>{2}) << "line 0 is the heading, line 1 the first chord";
  EXPECT_TRUE(model.text(keyRecordBox(1)).ends_with("\r\n2 X: - X:"));

  key(1, chords[0]);  // starts the entry again: right
  waitMs(testing::kWorkerTurnMs);
  EXPECT_EQ(background(), kConnectedBackground);
  EXPECT_EQ(model.get(Control::标签_一号机在线, &ui::ControlState::textColour), sideColour(1));
  confirm();  // clears the answer: neither right nor wrong
  key(1, chords[0]);
  key(1, chords[1]);
  waitMs(testing::kWorkerTurnMs);
  EXPECT_EQ(engine.side(1).roundScore, 1);
  EXPECT_EQ(marked(), std::vector<int>{2});
  EXPECT_NE(background(), ui::kWrongChordBackground);
}

}  // namespace
}  // namespace qiru
