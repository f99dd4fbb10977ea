#pragma once
// A side's pending answer: the names and chord codes of its latest chords,
// as many as its current entry needs, oldest first, joined by "|". The
// answer check looks these texts up in the material's code dictionary.

#include <cstdint>
#include <string>
#include <string_view>

#include "input/key_event.h"

namespace qiru {

// The separator of the chords of a multi-chord code.
inline constexpr std::string_view kChordSeparator = "|";

// The text's last k items (split at "|"): when it holds more, the oldest are
// dropped and the rest joined again, without empty items; otherwise the text
// as it is.
std::string keepLastItems(std::string_view text, std::int32_t k);

// Names of the keys that clear a multi-chord answer (confirm and delete).
inline constexpr std::string_view kConfirmKeyName = "EN";
inline constexpr std::string_view kDeleteKeyName = "BS";

struct InputBuffer {
  std::string names;
  std::string chords;

  void clear() {
    names.clear();
    chords.clear();
  }

  // Takes the side's next chord for an entry of `chordCount` chords: on a
  // single-chord entry only the latest chord counts; on a longer one the
  // confirm and delete keys clear the answer (false: nothing to check) and
  // any other chord slides into the last `chordCount`.
  bool take(const KeyEvent& event, std::int32_t chordCount);
};

}  // namespace qiru
