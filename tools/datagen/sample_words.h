#pragma once
// The word lists behind the sample question bank: common characters, words
// and phrases with their pinyin (syllables separated by spaces, no tones).

#include <span>
#include <string_view>

namespace qiru::datagen {

struct SampleWord {
  std::string_view text;
  std::string_view pinyin;  // "bei jing"
};

// Frequent characters, each with a syllable of its own.
std::span<const SampleWord> sampleCharacters();
// Two-character words, keyed as one chord: first syllable left, second right.
std::span<const SampleWord> sampleWords();
// Four-character phrases, keyed as two chords.
std::span<const SampleWord> samplePhrases();

}  // namespace qiru::datagen
