// Whole matches of bots on virtual machines, in virtual time.

#include "simulation/match_simulation.h"
#include "steno/builtin_scheme.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <vector>

#include "match/match_events.h"
#include "materials/utf8_path.h"
#include "simulation/match_watcher.h"

namespace qiru {
namespace {

// The bots' chords are decoded with the fingering scheme the program carries.
const bool kSchemeLoaded = loadFingeringScheme(nullptr);

const std::filesystem::path kSingleSyllables =
    pathFromUtf8(std::string(QIRU_SOURCE_DIR) + "/data/比赛题库/1.基础/单音节.txt");

struct Played {
  int status;
  std::string out;
  std::string err;
};

Played simulate(const SimulationOptions& options) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = simulateMatch(options, out, err);
  return {status, out.str(), err.str()};
}

SimulationOptions quickOptions(MatchMode mode) {
  SimulationOptions options;
  options.mode = mode;
  options.material = kSingleSyllables;
  options.entries = "20";
  options.minutes = "1";
  options.members = "2";
  options.red = {300, 0.1, std::nullopt};
  options.blue = BotStyle{280, 0.05, std::nullopt};
  if (mode == MatchMode::TimedRace) options.entries.reset();
  return options;
}

// The options fill the window's boxes and are held to the boxes' limits
// before anything counts with them.
TEST(MatchSimulation, OptionsOutsideTheirBoxesLimitsAreRefused) {
  struct Case {
    MatchMode mode;
    std::optional<std::string> SimulationOptions::*option;
    std::string value;
    std::optional<std::string> refusal;
  };
  const Case cases[] = {
      {MatchMode::TimedRace, &SimulationOptions::minutes, "30", std::nullopt},
      {MatchMode::TimedRace, &SimulationOptions::minutes, "35792",
       "--minutes takes a whole number from 1 to 30, not \"35792\""},
      {MatchMode::QuickAnswer, &SimulationOptions::entries, "7158279", "--entries takes a whole number from 1 to 200, not \"7158279\""},
      {MatchMode::TeamRelay, &SimulationOptions::members, "0", "--members takes a whole number from 1 to 10, not \"0\""},
      {MatchMode::TeamRelay, &SimulationOptions::flashSeconds, "5", std::nullopt},
      {MatchMode::TeamRelay, &SimulationOptions::flashSeconds, "0.0", "--flash takes a number of seconds above 0 and up to 5, not \"0.0\""},
  };
  for (const Case& c : cases) {
    SimulationOptions options = quickOptions(c.mode);
    options.*c.option = c.value;
    EXPECT_EQ(optionBoxRefuses(options), c.refusal) << c.value;
  }
}

TEST(MatchSimulation, SameOptionsAndSeedPlayTheSameMatch) {
  SimulationOptions options = quickOptions(MatchMode::QuickAnswer);
  options.seed = 11;
  const Played first = simulate(options);
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(simulate(options).out, first.out);
  options.seed = 12;
  EXPECT_NE(simulate(options).out, first.out);
}

// Each mode plays to its result; the output ends with the result controls.
TEST(MatchSimulation, EveryModeEndsWithItsResult) {
  for (const MatchMode mode :
       {MatchMode::TimedRace, MatchMode::RaceToFinish, MatchMode::QuickAnswer, MatchMode::TeamRelay}) {
    const Played played = simulate(quickOptions(mode));
    ASSERT_EQ(played.status, 0) << played.err;
    const bool relay = mode == MatchMode::TeamRelay;
    std::istringstream lines(played.out);
    std::string line;
    int resultLines = 0;
    int roundLines = 0;
    while (std::getline(lines, line)) {
      if (line.starts_with("标签_结果.color=0x")) {
        ++resultLines;
        EXPECT_EQ(line.size(), std::string("标签_结果.color=0x").size() + 6) << line;
      }
      if (line.starts_with("标签_局成绩=")) ++roundLines;
    }
    EXPECT_EQ(resultLines, relay ? 2 : 1) << static_cast<int>(mode);
    EXPECT_EQ(roundLines, relay ? 2 : 0) << static_cast<int>(mode);
    EXPECT_NE(played.out.find(relay ? "标签_结果=最终成绩：" : "标签_结果=本局"), std::string::npos) << played.out;
    EXPECT_NE(played.out.find("1\t1 "), std::string::npos) << "no key record of red";
  }
}

TEST(MatchSimulation, MachineOneAloneAgainstASimulatedMachineTwo) {
  SimulationOptions options = quickOptions(MatchMode::RaceToFinish);
  options.blue.reset();
  options.red = {300, 0, std::nullopt};
  options.flashSeconds = "0.3";
  const Played played = simulate(options);
  ASSERT_EQ(played.status, 0) << played.err;
  EXPECT_EQ(played.out.find("2\t"), std::string::npos) << "blue's box keeps only its heading";
  EXPECT_NE(played.out.find("标签_结果=本局红方获胜！\n标签_结果.color=0x865AB2\n标签_红方成绩=20\n标签_蓝方成绩=0\n"),
            std::string::npos)
      << played.out;
}

TEST(MatchSimulation, AnUnreadableMaterialIsReported) {
  SimulationOptions options = quickOptions(MatchMode::QuickAnswer);
  options.material = "no such material.txt";
  const Played played = simulate(options);
  EXPECT_EQ(played.status, 1);
  EXPECT_NE(played.err.find("no such material.txt"), std::string::npos);
}

// Both sides strike the same answer of every shared entry, red 2 ms before
// blue: red takes every point, and each of blue's chords, begun before red
// took the entry it was meant for, is lost without a trace. Swapped, blue
// takes them all.
TEST(MatchSimulation, TheFirstToFinishTakesEverySharedEntry) {
  const BotStyle earlier{600, 0, 300};
  const BotStyle later{600, 0, 302};
  for (const MatchMode mode : {MatchMode::QuickAnswer, MatchMode::TeamRelay}) {
    for (const std::uint64_t seed : {1, 2, 3}) {
      for (const std::int32_t winner : {1, 2}) {
        SimulationOptions options = quickOptions(mode);
        options.seed = seed;
        options.red = winner == 1 ? earlier : later;
        options.blue = winner == 1 ? later : earlier;
        const Played played = simulate(options);
        ASSERT_EQ(played.status, 0) << played.err;
        const std::string loserLines = "\n" + std::to_string(3 - winner) + "\t";
        EXPECT_EQ(("\n" + played.out).find(loserLines), std::string::npos)
            << "mode " << static_cast<int>(mode) << ", seed " << seed << ": the later side has key records\n"
            << played.out;
        const std::string verdict = mode == MatchMode::TeamRelay ? (winner == 1 ? "最终成绩：红方团队胜！" : "最终成绩：蓝方团队胜！")
                                                                  : (winner == 1 ? "本局红方获胜！" : "本局蓝方获胜！");
        EXPECT_NE(played.out.find("标签_结果=" + verdict), std::string::npos) << played.out;
        const std::string points = mode == MatchMode::TeamRelay ? "40" : "20";
        EXPECT_NE(played.out.find((winner == 1 ? "标签_红方成绩=" : "标签_蓝方成绩=") + points), std::string::npos)
            << played.out;
      }
    }
  }
}

// When each side's entries were shown and when its bot struck.
class StrikeTimes final : public MatchWatcher, public MatchObserver {
 public:
  void matchStarting(Clock&, VirtualCh375&, MatchEngine&) override {}
  void matchEnding() override {}
  void chordStruck(const StruckChord& chord) override { struck[chord.side].push_back(chord.startMs); }
  void keyRecorded(std::int32_t, std::string_view, std::int64_t) override {}
  void controlChanged(const ui::ControlChange&, std::int64_t) override {}
  void roundEnded(const ui::ControlModel&, std::int64_t) override {}
  void onEntryEnded(const EntryEnded& entry) override { shown[entry.side].push_back(entry.shownAtMs); }

  std::map<std::int32_t, std::vector<std::int64_t>> struck;  // first key down of each chord
  std::map<std::int32_t, std::vector<std::int64_t>> shown;   // of each entry that ended
};

// A bot with a reaction time strikes the first chord of every entry that
// much after the entry is shown, not at its next look: the first chord's
// first key goes down at shown + react. With no reaction at all the round's
// first entry is struck the moment it is shown, and each later one a frame
// after the answer that brought it, whose last report takes the frame.
TEST(MatchBot, FirstChordOfAnEntryGoesDownItsReactionTimeAfterTheEntryIsShown) {
  for (const std::int64_t reactMs : {0, 3, 7, 300}) {
    SimulationOptions options = quickOptions(MatchMode::RaceToFinish);
    options.red = {400, 0, reactMs};
    options.blue = BotStyle{250, 0, reactMs};
    StrikeTimes times;
    options.watcher = &times;
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(simulateMatch(options, out, err, {&times}), 0) << err.str();
    for (const std::int32_t side : {1, 2}) {
      const std::vector<std::int64_t>& shown = times.shown[side];
      const std::vector<std::int64_t>& struck = times.struck[side];
      // The round ends when the faster side has keyed its last entry.
      ASSERT_GE(shown.size(), 10u) << "react " << reactMs << ", side " << side;
      ASSERT_GE(struck.size(), shown.size()) << "react " << reactMs << ", side " << side;
      for (std::size_t entry = 0; entry < shown.size(); ++entry) {
        // Single-syllable entries, no wrong chords: one chord an entry.
        const std::int64_t expected = shown[entry] + reactMs + (reactMs == 0 && entry > 0 ? 1 : 0);
        EXPECT_EQ(struck[entry], expected) << "react " << reactMs << ", side " << side << ", entry " << entry + 1;
      }
    }
  }
}

TEST(BotStyle, ParsesPlayersAndExplainsMistakes) {
  std::string error;
  EXPECT_EQ(parseBotStyle("cpm=120,errors=0.25", error), (BotStyle{120, 0.25, std::nullopt}));
  EXPECT_EQ(parseBotStyle("errors=1", error), (BotStyle{300, 1.0, std::nullopt}));
  EXPECT_EQ(parseBotStyle("react=302,cpm=600", error), (BotStyle{600, 0.0, 302}));
  for (const char* bad : {"cpm=fast", "cpm=0", "errors=1.5", "speed=3", "cpm", "react=-1", "react=2.5"}) {
    error.clear();
    EXPECT_FALSE(parseBotStyle(bad, error)) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
}

}  // namespace
}  // namespace qiru
