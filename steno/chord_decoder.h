#pragma once
// Turns one closed chord into its code text (the keys of both hands,
// "AB:FL") and its output text (what the chord means under the fingering
// scheme: "ba':是", "EN", "锁定", or the letters when nothing matches).

#include <string>

#include "steno/chord_codec.h"
#include "steno/fingering_scheme.h"

namespace qiru {

// Reentrant and lock-free: it only reads the scheme. `codeText` is replaced.
// When the output text is exactly ":" the caller shows the code text instead.
std::string decodeChord(const FingeringScheme& scheme, KeySet left, KeySet right,
                        TwoAreaCode combined, std::string& codeText);

}  // namespace qiru
