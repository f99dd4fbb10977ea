#pragma once
// The two sides of a match and the machines that play them: side 1 is
// machine 1, the red side (红方), at CH375 device index 0; side 2 is
// machine 2, the blue side (蓝方), at device index 1. Per-side data live in
// two-element arrays indexed by sideSlot(side).

#include <cstddef>

namespace qiru {

inline constexpr int kSideCount = 2;
inline constexpr int kRedSide = 1;
inline constexpr int kBlueSide = 2;

constexpr bool isSide(int side) { return side == kRedSide || side == kBlueSide; }
constexpr std::size_t sideSlot(int side) { return static_cast<std::size_t>(side - 1); }
constexpr int deviceIndexOf(int side) { return side - 1; }

}  // namespace qiru
