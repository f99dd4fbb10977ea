#pragma once
// Where one side stands in the round: its entry, its scores, its keys and
// its pending answer.

#include <cstdint>

#include "match/input_buffer.h"

namespace qiru {

struct SideState {
  std::int32_t entryPosition = 0;  // its current entry in the material, from 1; 0: none
  std::int32_t roundScore = 0;     // entries answered in this round
  std::int32_t teamTotal = 0;      // round scores of the team's members so far (relay)
  std::int32_t keyCount = 0;       // keys processed in this round
  InputBuffer input;
  std::int64_t shownAt = 0;        // when its current entry appeared (ms since 1970)
  std::int64_t shownAtUs = 0;      // the same on the clock that stamps the chords (monotonic µs)
};

}  // namespace qiru
