#pragma once
// One seeded match of the sweep: settings drawn from the seed across every
// mode and option, machines unplugged and plugged in again at moments drawn
// from the seed in every state of the match, and the checks made once it
// has been played. The same seed plays the same match.

#include <cstdint>
#include <string>
#include <vector>

#include "simulation/match_simulation.h"

namespace qiru::sweep {

// A machine taken away when the match reaches a state, and brought back.
struct Unplugging {
  int deviceIndex = 0;
  MatchState when = MatchState::Idle;
  bool betweenMembers = false;  // in the relay: at a result that is not the last
  std::int64_t afterMs = 0;     // once that state is reached
  std::int64_t forMs = 0;       // how long the machine stays away
};

struct SweepMatch {
  std::uint64_t seed = 0;
  SimulationOptions options;
  std::vector<Unplugging> unpluggings;
};

// The match the seed draws.
SweepMatch drawMatch(std::uint64_t seed);
// The settings in one line, to play the match again.
std::string describe(const SweepMatch& match);

struct Played {
  std::vector<std::string> faults;  // what went wrong, one text each; none: the match passed
  std::string output;               // as qiru-steno simulate prints it
  std::string timeline;             // when it failed: what was struck and recorded, and when
};

// Plays the match in virtual time and checks it.
Played playAndCheck(const SweepMatch& match);

}  // namespace qiru::sweep
