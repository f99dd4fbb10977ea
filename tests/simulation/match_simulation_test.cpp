// Whole matches of bots on virtual machines, in virtual time.

#include "simulation/match_simulation.h"
#include "steno/builtin_scheme.h"

#include <gtest/gtest.h>

#include <sstream>

#include "materials/utf8_path.h"

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
  options.red = {300, 0.1};
  options.blue = BotStyle{280, 0.05};
  if (mode == MatchMode::TimedRace) options.entries.reset();
  return options;
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
  options.red = {300, 0};
  options.flashSeconds = "0.3";
  const Played played = simulate(options);
  ASSERT_EQ(played.status, 0) << played.err;
  EXPECT_EQ(played.out.find("2\t"), std::string::npos) << "blue's box keeps only its heading";
  EXPECT_NE(played.out.find("标签_结果=本局红方获胜！\n标签_结果.color=0xC080FF\n标签_红方成绩=20\n标签_蓝方成绩=0\n"),
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

TEST(BotStyle, ParsesPlayersAndExplainsMistakes) {
  std::string error;
  EXPECT_EQ(parseBotStyle("cpm=120,errors=0.25", error), (BotStyle{120, 0.25}));
  EXPECT_EQ(parseBotStyle("errors=1", error), (BotStyle{300, 1.0}));
  for (const char* bad : {"cpm=fast", "cpm=0", "errors=1.5", "speed=3", "cpm"}) {
    error.clear();
    EXPECT_FALSE(parseBotStyle(bad, error)) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
}

}  // namespace
}  // namespace qiru
