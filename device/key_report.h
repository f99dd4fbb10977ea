#pragma once
// One decoded interrupt report: which keys were down when it arrived.

#include <cstdint>

namespace qiru {

struct KeyReport {
  std::int32_t pressedCount = 0;
  std::int32_t maskB = 0;      // keys 14-26: the left hand, bit i-1 for its i-th key name
  std::int32_t maskA = 0;      // keys 1-13: the right hand
  std::int32_t chordCode = 0;  // maskA << 16 | maskB: the two-area code of the keys
  std::int64_t timeUs = 0;     // when the report arrived: the clock's monotonic µs
};

constexpr std::int32_t chordCodeOf(std::int32_t maskA, std::int32_t maskB) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(maskA) << 16 |
                                   (static_cast<std::uint32_t>(maskB) & 0xFFFF));
}

}  // namespace qiru
