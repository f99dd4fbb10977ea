// qiru-steno built without the match history, run in-process: asking for
// the history, or for a match to be kept in a file, is refused in plain
// words and plays nothing; --history none plays as without it.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tools/qiru_steno/command.h"

namespace qiru::cli {
extern const Command kHistoryCommand;
extern const Command kSimulateCommand;
}  // namespace qiru::cli

namespace qiru {
namespace {

TEST(UnkeptHistory, IsSaidInsteadOfPretended) {
  const std::string material = std::string(QIRU_SOURCE_DIR) + "/data/比赛题库/1.基础/单音节.txt";
  const std::vector<std::string> match = {"--mode", "2", "--material", material, "--entries", "5"};
  const auto with = [&match](std::vector<std::string> more) {
    more.insert(more.begin(), match.begin(), match.end());
    return more;
  };
  const struct {
    const cli::Command& command;
    std::vector<std::string> args;
    int status;
    bool plays;
  } cases[] = {
      {cli::kHistoryCommand, {}, 1, false},
      {cli::kHistoryCommand, {"--history", "h.sqlite3"}, 1, false},
      {cli::kSimulateCommand, with({"--history", "h.sqlite3"}), cli::kUsageError, false},
      {cli::kSimulateCommand, with({"--history", "none"}), 0, true},
  };
  for (const auto& c : cases) {
    std::ostringstream out, err;
    EXPECT_EQ(c.command.run(c.args, out, err), c.status) << err.str();
    EXPECT_EQ(out.str().find("标签_结果=") != std::string::npos, c.plays) << out.str();
    if (c.status != 0) {
      EXPECT_NE(err.str().find("keeps no match history"), std::string::npos) << err.str();
    }
  }
}

}  // namespace
}  // namespace qiru
