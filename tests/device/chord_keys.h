#pragma once
// Chords written as players read them ("BA:FL": left-hand keys, a colon,
// right-hand keys) turned into the keys a machine reports.

#include <string_view>

#include "device/report_layout.h"
#include "steno/chord_codec.h"

namespace qiru::testing {

inline PressedKeys keysOf(std::string_view chord) {
  const TwoAreaCode code = ChordCodec().twoAreaCodeOf(chord);
  return {.right = rightKeySetOf(code), .left = leftKeySetOf(code)};
}

}  // namespace qiru::testing
