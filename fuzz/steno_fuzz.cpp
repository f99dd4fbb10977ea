#include <memory>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_entries.h"
#include "steno/builtin_scheme.h"
#include "steno/chord_codec.h"
#include "steno/chord_decoder.h"
#include "steno/compressed_block.h"
#include "steno/fingering_scheme.h"
#include "steno/syllable_dictionary.h"

namespace qiru::fuzz {
namespace {

// A few chords across the areas the scheme's sections key on.
constexpr std::string_view kSampleChords[] = {"A:", ":I", "BA:FL", "F:I", "RHNV:", "XBDZ:GWIE"};

}  // namespace

void schemeLoader(std::span<const std::uint8_t> bytes) {
  auto scheme = std::make_unique<FingeringScheme>();
  check(loadFingeringScheme(*scheme, textOf(bytes), builtinSyllableDictionaryBlock(), nullptr),
        "loading a scheme says it failed");
  for (const std::string_view chord : kSampleChords) {
    const TwoAreaCode code = scheme->codec.twoAreaCodeOf(chord);
    std::string codeText;
    decodeChord(*scheme, leftKeySetOf(code), rightKeySetOf(code), code, codeText);
  }
}

void dictionaryBlock(std::span<const std::uint8_t> bytes) {
  SyllableDictionary dictionary;
  if (loadSyllableDictionary(textOf(bytes), dictionary)) {
    for (const std::string_view syllable : {"ba", "lve'", "zhuang", ""}) syllableNumber(dictionary, syllable);
  }
  const std::string unpacked = unpackBlock(textOf(bytes));
  if (!unpacked.empty()) check(unpackBlock(packBlock(unpacked)) == unpacked, "a block does not pack back");
}

void chordNotation(std::span<const std::uint8_t> bytes) {
  const ChordCodec codec;
  const std::string_view text = textOf(bytes);
  const TwoAreaCode code = codec.twoAreaCodeOf(text);
  // A negative code is the codec's mark of notation it cannot read (two
  // colons): it names no keys to write back.
  if (code >= 0) check(codec.twoAreaCodeOf(codec.codeText(code)) == code, "a chord's code text reads back as another chord");
  const std::string canonical = codec.canonicalChord(text);
  check(codec.canonicalChord(canonical) == canonical, "a canonical chord changes when made canonical again");
  const std::string list = codec.canonicalList(text);
  check(codec.canonicalList(list) == list, "a canonical chord list changes when made canonical again");
}

}  // namespace qiru::fuzz
