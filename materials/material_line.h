#pragma once
// One line of a match material file: the text to key (column 1), the chord
// code that answers it (column 2: chords separated by "|", each written as
// left keys, a colon, right keys) and an optional note for the player
// (column 3), separated by TABs.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "steno/chord_codec.h"

namespace qiru {

struct MaterialLine {
  std::string text;  // column 1 without its leading and trailing spaces
  std::string code;  // column 2 in canonical notation (normaliseCode)
  std::string note;  // column 3 as written; "" when there is none
};

// The columns of a line; none when it has fewer than two.
std::optional<MaterialLine> readMaterialLine(std::string_view line, const ChordCodec& codec);

// Column 2 as the dictionary compares it: every space (ASCII or full-width)
// removed, the full-width colon read as ":", each chord in canonical key
// order ("BA : FL" -> "AB:FL") and empty chords dropped ("A:||B:" -> "A:|B:").
// A chord whose keys cannot be read is kept as written.
std::string normaliseCode(std::string_view code, const ChordCodec& codec);

// Whether a normalised code can be keyed: every chord names its hands with
// a colon.
bool isValidCode(std::string_view code);

// How many chords a normalised code holds.
std::int32_t chordCountOf(std::string_view code);

}  // namespace qiru
