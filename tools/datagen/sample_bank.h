#pragma once
// The sample question bank that comes with the program (data/比赛题库/):
// materials a newcomer can play at once. Every code is made of real chords
// of the built-in fingering scheme, each checked by decoding it, and every
// note gives the pinyin.

#include <string>

namespace qiru::datagen {

// 1.基础/单音节.txt: frequent characters, one syllable with the left hand.
std::string generateSyllableMaterial();
// 1.基础/特定码.txt: the scheme's special codes alone, then numbers such as
// 三百 with a digit on the left hand and a unit on the right.
std::string generateSpecialCodeMaterial();
// 2.词语/双音词.txt: two-character words as one chord, first syllable on
// the left hand and second on the right (北京 = OGB:NGBDI).
std::string generateWordMaterial();
// 3.短语/四字词语.txt: four-character phrases as two such chords.
std::string generatePhraseMaterial();

}  // namespace qiru::datagen
