#pragma once
// The pinyin syllable dictionary the fingering scheme is read against: the
// 414 syllables by number, their initials and finals, restored from the
// built-in dictionary block.
//
// Block layout (integers little-endian): a 4-byte checksum of the rest, then
// a compressed block that unpacks to the syllable count, a second count, the
// initial count and the final count, then five length-prefixed components:
// the syllable-number index, the part index (syllable + "1" -> initial
// number, syllable + "2" -> final number), the syllable list, the initial
// list and the final list.

#include <cstdint>
#include <string>
#include <string_view>

#include "support/hash_index.h"
#include "support/text_pool.h"

namespace qiru {

struct SyllableDictionary {
  std::int32_t syllableCount = 0;
  std::int32_t secondCount = 0;  // carried by the block; nothing reads it
  std::int32_t initialCount = 0;
  std::int32_t finalCount = 0;
  HashIndex numberIndex;  // "ba'" -> 6
  HashIndex partIndex;    // "ba'1" -> initial number, "ba'2" -> final number
  TextPool syllables;     // 6 -> "ba'"
  TextPool initials;
  TextPool finals;

  void clear();
  bool empty() const { return syllables.count() == 0; }
};

// The checksum the block carries over the bytes after it: a fold from the
// last byte to the first (h * 31 + byte + 1), sign bit cleared.
std::int32_t blockChecksum(std::string_view bytes);

// Restores the dictionary from a block. On a checksum mismatch, an unpack
// failure or a component that does not fit the bytes at hand, returns false
// and leaves the dictionary empty.
bool loadSyllableDictionary(std::string_view block, SyllableDictionary& dictionary);

// The syllable number (1 to 414) of a pinyin syllable as a scheme writes it
// ("ba", "ba'", "lve'"), or a value <= 0 when it is not a listed syllable.
std::int32_t syllableNumber(const SyllableDictionary& dictionary, std::string_view text);

}  // namespace qiru
