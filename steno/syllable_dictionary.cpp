#include "steno/syllable_dictionary.h"

#include <array>
#include <utility>

#include "steno/compressed_block.h"
#include "support/byte_io.h"
#include "support/hashes.h"

namespace qiru {

void SyllableDictionary::clear() {
  syllableCount = secondCount = initialCount = finalCount = 0;
  numberIndex.release();
  partIndex.release();
  syllables.clear();
  initials.clear();
  finals.clear();
}

std::int32_t blockChecksum(std::string_view bytes) { return foldHash31(bytes); }

namespace {

bool readComponents(std::string_view unpacked, SyllableDictionary& dictionary) {
  ByteReader reader(unpacked);
  if (!reader.readInt32(dictionary.syllableCount) || !reader.readInt32(dictionary.secondCount) ||
      !reader.readInt32(dictionary.initialCount) || !reader.readInt32(dictionary.finalCount)) {
    return false;
  }
  std::array<std::string_view, 5> components;
  for (auto& component : components) {
    std::int32_t length = 0;
    if (!reader.readInt32(length) || !reader.readBytes(length, component)) return false;
  }
  return dictionary.numberIndex.deserialise(components[0]) &&
         dictionary.partIndex.deserialise(components[1]) &&
         dictionary.syllables.deserialise(components[2]) &&
         dictionary.initials.deserialise(components[3]) &&
         dictionary.finals.deserialise(components[4]);
}

}  // namespace

bool loadSyllableDictionary(std::string_view block, SyllableDictionary& dictionary) {
  dictionary.clear();
  if (block.size() < 4) return false;
  const std::int32_t stored = readInt32At(reinterpret_cast<const unsigned char*>(block.data()));
  const std::string_view rest = block.substr(4);
  if (blockChecksum(rest) != stored) return false;
  const std::string unpacked = unpackBlock(rest);
  if (unpacked.empty() || !readComponents(unpacked, dictionary)) {
    dictionary.clear();
    return false;
  }
  return true;
}

std::int32_t syllableNumber(const SyllableDictionary& dictionary, std::string_view text) {
  std::string syllable(text);
  if (syllable.empty() || syllable.back() != '\'') syllable += '\'';
  // The ü-spellings written with "v" that the list spells otherwise: lüe and
  // nüe are listed as "lue'" and "nue'"; j, q, x and y write ü as "u".
  static constexpr std::pair<std::string_view, std::string_view> kRewrites[] = {
      {"lve'", "lue'"}, {"nve'", "nue'"}, {"jv'", "ju'"}, {"qv'", "qu'"}, {"xv'", "xu'"}, {"yv'", "yu'"},
  };
  for (const auto& [written, listed] : kRewrites) {
    if (syllable == written) {
      syllable = listed;
      break;
    }
  }
  return dictionary.numberIndex.get(syllable);
}

}  // namespace qiru
