// The match's events as observers see them: what a round of chords, answers
// and time-outs publishes, in order, with the values the measures and the
// history rest on.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "match/match_events.h"
#include "tests/match/match_rig.h"

namespace qiru {
namespace {

using testing::kRigStartMs;
using testing::MatchRig;
using ui::Control;

// One line per event, times relative to the rig's start.
class EventTrace final : public MatchObserver {
 public:
  void onRoundStarted(const RoundStarted& e) override {
    add("start mode=" + std::to_string(static_cast<int>(e.settings.mode)) + " new=" + std::to_string(e.newMatch) +
        " entries=" + std::to_string(e.entries) + " material=" + std::filesystem::path(e.materialPath).filename().string() +
        " at=" + at(e.startedAtMs));
  }
  void onChordJudged(const ChordJudged& e) override {
    add("chord " + std::to_string(e.side) + " #" + std::to_string(e.number) + " " + e.chord + " entry=" +
        std::to_string(e.entryPosition) + " outcome=" + std::to_string(static_cast<int>(e.outcome)));
  }
  void onEntryEnded(const EntryEnded& e) override {
    add(std::string(e.end == EntryEnd::Taken ? "taken " : "timeout ") + std::to_string(e.side) + " entry=" +
        std::to_string(e.position) + " shared=" + std::to_string(e.shared) + " chords=" +
        std::to_string(e.answerChords) + " shown=" + at(e.shownAtMs) + " ended=" + at(e.endedAtMs));
    entries.push_back(e);
  }
  void onRoundEnded(const RoundResult& e) override {
    add("result " + std::to_string(e.scores[0]) + ":" + std::to_string(e.scores[1]) + " winner=" +
        std::to_string(e.winner) + " " + std::string(e.verdict.text) + " stopped=" + std::to_string(e.stopped));
  }

  std::vector<std::string> lines;
  std::vector<EntryEnded> entries;

 private:
  static std::string at(std::int64_t ms) { return std::to_string(ms - kRigStartMs); }
  void add(std::string line) { lines.push_back(std::move(line)); }
};

class MatchEvents : public MatchRig {
 protected:
  MatchEvents() : MatchRig(testing::kPairMaterial) { engine.addObserver(trace); }
  ~MatchEvents() override { engine.removeObserver(trace); }
  EventTrace trace;
};

// Countdown: 4 steps of 800 ms, so the round starts at 3200 ms.
TEST_F(MatchEvents, ARaceToFinishPublishesChordsAnswersTimeOutsAndTheResult) {
  start(MatchMode::RaceToFinish, Control::编辑框_争先, "5");
  const auto chords = answers.chordsOf(engine.shownEntry(1).text);
  ASSERT_EQ(chords.size(), 2u);
  key(1, chords[0]);
  key(1, "F:I", "EN");  // clears the half-keyed answer
  key(1, "X:");
  key(1, chords[0]);
  key(1, chords[1]);
  waitMs(testing::kWorkerTurnMs);
  const std::vector<std::string> expected = {
      "start mode=1 new=1 entries=5 material=material.txt at=3200",
      "chord 1 #1 " + chords[0] + " entry=1 outcome=0",
      "chord 1 #2 F:I entry=1 outcome=2",
      "chord 1 #3 X: entry=1 outcome=0",
      "chord 1 #4 " + chords[0] + " entry=1 outcome=0",
      "chord 1 #5 " + chords[1] + " entry=1 outcome=1",
      "taken 1 entry=1 shared=0 chords=2 shown=3200 ended=3200",
  };
  EXPECT_EQ(trace.lines, expected);
  ASSERT_EQ(trace.entries.size(), 1u);
  EXPECT_EQ(trace.entries[0].code, chords[0] + "|" + chords[1]);
  EXPECT_EQ(answers.chordsOf(trace.entries[0].text), chords);

  waitFor(MatchState::ResultShown);  // every entry of blue, then of red, times out
  EXPECT_EQ(trace.lines[7], "timeout 1 entry=2 shared=0 chords=0 shown=3200 ended=8300");
  EXPECT_EQ(trace.lines[8], "timeout 2 entry=1 shared=0 chords=0 shown=3200 ended=8300");
  EXPECT_EQ(trace.lines.back(), "result 1:0 winner=1 本局红方获胜！ stopped=0");
}

TEST_F(MatchEvents, QuickAnswerEntriesAreSharedAndTheRivalsChordsAreNotJudged) {
  start(MatchMode::QuickAnswer, Control::编辑框_抢答, "5");
  const auto chords = answers.chordsOf(engine.shownEntry(1).text);
  for (const std::int32_t side : {2, 1}) {
    for (const std::string& chord : chords) key(side, chord);
  }
  waitMs(testing::kWorkerTurnMs);
  ASSERT_EQ(trace.lines.size(), 4u);
  EXPECT_EQ(trace.lines[3], "taken 2 entry=1 shared=1 chords=2 shown=3200 ended=3200");
  waitFor(MatchState::ResultShown);
  EXPECT_EQ(trace.lines[4], "timeout 1 entry=2 shared=1 chords=0 shown=3200 ended=8300");
  EXPECT_EQ(trace.lines.back(), "result 0:1 winner=2 本局蓝方获胜！ stopped=0");
}

}  // namespace
}  // namespace qiru
