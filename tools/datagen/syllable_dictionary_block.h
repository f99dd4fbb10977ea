#pragma once
// Generator of the built-in syllable dictionary block (data/syllable_dictionary.bin).

#include <string>
#include <string_view>
#include <vector>

namespace qiru::datagen {

// The 414 syllables in dictionary order, each with its apostrophe.
std::vector<std::string> syllableList();

// The whole block: checksum, then the compressed components.
std::string generateSyllableDictionaryBlock();

}  // namespace qiru::datagen
