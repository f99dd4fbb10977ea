// Whole matches on real threads and the real clock: the virtual library's
// threads, the reader threads, the worker, the match clock and two bots at
// once. Run under ThreadSanitizer.

#include <gtest/gtest.h>

#include <sstream>

#include "materials/utf8_path.h"
#include "simulation/match_simulation.h"
#include "steno/builtin_scheme.h"

namespace qiru {
namespace {

// The bots' chords are decoded with the fingering scheme the program carries.
const bool kSchemeLoaded = loadFingeringScheme(nullptr);

TEST(MatchThreads, RaceToFinishBetweenTwoFastBots) {
  SimulationOptions options;
  options.mode = MatchMode::RaceToFinish;
  options.material = pathFromUtf8(std::string(QIRU_SOURCE_DIR) + "/data/比赛题库/1.基础/单音节.txt");
  options.entries = "20";
  options.red = {1200, 0.1, std::nullopt};
  options.blue = BotStyle{1000, 0, std::nullopt};
  std::ostringstream out;
  std::ostringstream err;
  ASSERT_EQ(playMatch(realClock(), options, out, err), 0) << err.str();
  EXPECT_NE(out.str().find("标签_结果=本局"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("2\t1 "), std::string::npos) << "no key record of blue";
}

}  // namespace
}  // namespace qiru
