#pragma once
// The built-in fingering scheme (指法方案): the text that tells, for the
// 13-key stenotype machine, which chord stands for which syllable, character,
// shape code, letter, tone or function key. The program carries its GBK bytes
// verbatim (data/fingering_scheme.txt) and parses them at start-up.

#include <string>

namespace qiru::datagen {

// The whole scheme as UTF-8: CR LF between lines, no terminator after the
// last one. Always the same text.
std::string generateFingeringSchemeUtf8();

// generateFingeringSchemeUtf8 converted to GBK: the bytes the program embeds.
std::string generateFingeringSchemeText();

}  // namespace qiru::datagen
