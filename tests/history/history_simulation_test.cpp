// Whole simulated matches kept in the history: what the history lists is
// what the match printed, and a history file that cannot be kept does not
// stop the match.

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "history/history_database.h"
#include "history/history_writer.h"
#include "simulation/match_simulation.h"
#include "steno/builtin_scheme.h"
#include "support/headless_messages.h"
#include "tests/materials/temp_folder.h"

namespace qiru {
namespace {

const bool kSchemeLoaded = loadFingeringScheme(nullptr);

SimulationOptions options(MatchMode mode) {
  SimulationOptions o;
  o.mode = mode;
  o.material = std::filesystem::path(QIRU_SOURCE_DIR) / "data" / "比赛题库" / "2.词语" / "双音词.txt";
  if (mode == MatchMode::TimedRace) {
    o.minutes = "1";
  } else {
    o.entries = "12";
  }
  o.red = {240, 0.1};
  o.blue = BotStyle{200, 0.05};
  o.seed = 3;
  return o;
}

struct Printed {
  std::string out;
  std::string err;
  int status;
};

Printed simulate(const SimulationOptions& o, HistoryWriter& writer) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = simulateMatch(o, out, err, {&writer.observer()});
  writer.flush();
  return {out.str(), err.str(), status};
}

// Per side: the key record lines and the last score label printed.
struct SideTotals {
  int chords = 0;
  int score = -1;
};

std::map<int, SideTotals> totalsOf(const std::string& printed) {
  std::map<int, SideTotals> totals;
  std::istringstream lines(printed);
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("1\t")) ++totals[1].chords;
    if (line.starts_with("2\t")) ++totals[2].chords;
    if (line.starts_with("标签_红方成绩=")) totals[1].score = std::stoi(line.substr(line.find('=') + 1));
    if (line.starts_with("标签_蓝方成绩=")) totals[2].score = std::stoi(line.substr(line.find('=') + 1));
  }
  return totals;
}

TEST(HistoryOfSimulatedMatches, ListsTheScoresAndChordsTheMatchPrinted) {
  for (const MatchMode mode : {MatchMode::TimedRace, MatchMode::RaceToFinish, MatchMode::QuickAnswer}) {
    SCOPED_TRACE(static_cast<int>(mode));
    TempFolder folder;
    const std::filesystem::path file = folder.path() / "history.sqlite3";
    Printed printed;
    {
      HistoryWriter writer(file, nullptr);
      printed = simulate(options(mode), writer);
      ASSERT_EQ(printed.status, 0) << printed.err;
      EXPECT_EQ(writer.problem(), HistoryProblem::None);
    }
    HistoryDatabase db;
    ASSERT_EQ(db.open(file, HistoryDatabase::Access::Read), HistoryProblem::None);
    const std::vector<HistoryRow> rows = db.rows();
    ASSERT_EQ(rows.size(), 2u);
    const auto totals = totalsOf(printed.out);
    for (const HistoryRow& row : rows) {
      EXPECT_EQ(row.score, totals.at(row.side).score) << row.side;
      EXPECT_EQ(row.chords, totals.at(row.side).chords) << row.side;
      EXPECT_EQ(row.machine, row.side == 1 ? 10001 : 10002);
      EXPECT_EQ(row.mode, mode);
      EXPECT_EQ(row.material, "双音词.txt");
    }
    EXPECT_GT(totals.at(1).chords, 0);
  }
}

TEST(HistoryOfSimulatedMatches, ADamagedHistoryLeavesTheMatchAsItWasAndTheFileUnchanged) {
  TempFolder folder;
  const std::filesystem::path file = folder.write("history.sqlite3", std::string(2048, '\x5A'));
  std::string withoutHistory;
  {
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(simulateMatch(options(MatchMode::QuickAnswer), out, err), 0);
    withoutHistory = out.str();
  }
  HeadlessMessages messages;
  HistoryWriter writer(file, &messages);
  const Printed printed = simulate(options(MatchMode::QuickAnswer), writer);
  EXPECT_EQ(printed.status, 0);
  EXPECT_EQ(printed.out, withoutHistory);
  EXPECT_EQ(writer.problem(), HistoryProblem::Damaged);
  EXPECT_EQ(messages.records().size(), 1u);
  EXPECT_EQ(readBytes(file), std::string(2048, '\x5A'));
}

}  // namespace
}  // namespace qiru
