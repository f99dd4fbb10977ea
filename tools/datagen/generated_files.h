#pragma once
// Every file of data/ that a generator writes, with its generator, so that
// qiru-gen-data and the regeneration test walk the same list.

#include <string>
#include <string_view>

#include "tools/datagen/fingering_scheme_text.h"
#include "tools/datagen/sample_bank.h"
#include "tools/datagen/syllable_dictionary_block.h"

namespace qiru::datagen {

struct GeneratedFile {
  std::string_view name;  // relative to data/
  std::string (*generate)();
};

inline constexpr GeneratedFile kGeneratedFiles[] = {
    {"fingering_scheme.txt", generateFingeringSchemeText},
    {"syllable_dictionary.bin", generateSyllableDictionaryBlock},
    {"比赛题库/1.基础/单音节.txt", generateSyllableMaterial},
    {"比赛题库/1.基础/特定码.txt", generateSpecialCodeMaterial},
    {"比赛题库/2.词语/双音词.txt", generateWordMaterial},
    {"比赛题库/3.短语/四字词语.txt", generatePhraseMaterial},
};

}  // namespace qiru::datagen
