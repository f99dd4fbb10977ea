#pragma once
// The keys of a chord written as text ("A:", ":I", "F:I"), as a player at a
// virtual machine holds them down.

#include <string_view>

#include "device/report_layout.h"
#include "steno/chord_codec.h"

namespace qiru::app {

inline PressedKeys keysOfChord(std::string_view chord) {
  const TwoAreaCode code = ChordCodec().twoAreaCodeOf(chord);
  return {.right = rightKeySetOf(code), .left = leftKeySetOf(code)};
}

// Any key but the start key reports a machine in.
inline constexpr std::string_view kReportInChord = "A:";

}  // namespace qiru::app
