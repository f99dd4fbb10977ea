// The seeded match sweep: a few hundred whole matches in virtual time across
// every mode and setting, machines coming and going in every state. Each
// match is checked as it ends (match_sweep.h). scripts/soak.sh plays many
// more through the same test: QIRU_SWEEP_MATCHES sets how many, and
// QIRU_SWEEP_FIRST_SEED the seed of the first; QIRU_SWEEP_TIMELINE=1 adds
// the timeline of each failed match to its failure.

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "steno/builtin_scheme.h"
#include "tests/simulation/match_sweep.h"

namespace qiru::sweep {
namespace {

// The bots' chords are decoded with the fingering scheme the program carries.
const bool kSchemeLoaded = loadFingeringScheme(nullptr);

// Enough to meet every mode with every kind of setting and unplugging, in
// a minute or two; fewer under the sanitizers, which play each match
// several times slower.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr std::uint64_t kMatchesByDefault = 60;
#else
constexpr std::uint64_t kMatchesByDefault = 200;
#endif

std::uint64_t fromEnvironment(const char* name, std::uint64_t fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 10) : fallback;
}

TEST(MatchSweep, EveryMatchEndsWithConsistentResultsAndEveryChordAccountedFor) {
  ASSERT_TRUE(kSchemeLoaded);
  const std::uint64_t matches = fromEnvironment("QIRU_SWEEP_MATCHES", kMatchesByDefault);
  const std::uint64_t firstSeed = fromEnvironment("QIRU_SWEEP_FIRST_SEED", 1);
  const bool withTimeline = fromEnvironment("QIRU_SWEEP_TIMELINE", 0) != 0;
  std::uint64_t failed = 0;
  for (std::uint64_t seed = firstSeed; seed < firstSeed + matches; ++seed) {
    const SweepMatch match = drawMatch(seed);
    const Played played = playAndCheck(match);
    if (played.faults.empty()) continue;
    ++failed;
    std::string all;
    for (const std::string& fault : played.faults) all += "\n  " + fault;
    ADD_FAILURE() << describe(match) << all << (withTimeline ? "\n" + played.timeline : std::string());
  }
  std::cout << "matches played: " << matches << ", failed: " << failed << "\n";
}

TEST(MatchSweep, ASeedPlaysTheSameMatchAgain) {
  // Relay and quick answer with machines unplugged: the most threads and
  // hand-offs a match has.
  for (const std::uint64_t seed : {3u, 74u}) {
    const SweepMatch match = drawMatch(seed);
    EXPECT_EQ(describe(match), describe(drawMatch(seed)));
    EXPECT_EQ(playAndCheck(match).output, playAndCheck(match).output) << describe(match);
  }
}

}  // namespace
}  // namespace qiru::sweep
