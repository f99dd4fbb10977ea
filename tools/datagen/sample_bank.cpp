#include "tools/datagen/sample_bank.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <vector>

#include "steno/chord_decoder.h"
#include "support/text_encoding.h"
#include "tools/datagen/fingering_scheme_text.h"
#include "tools/datagen/sample_words.h"
#include "tools/datagen/syllable_dictionary_block.h"

namespace qiru::datagen {
namespace {

constexpr KeySet kKeySetCount = 1 << kKeysPerHand;

// The scheme as its generator writes it, so that the sample bank needs none
// of the embedded data that qiru-gen-data is about to write.
const FingeringScheme& scheme() {
  static const std::unique_ptr<FingeringScheme> loaded = [] {
    auto fresh = std::make_unique<FingeringScheme>();
    loadFingeringScheme(*fresh, generateFingeringSchemeText(), generateSyllableDictionaryBlock(), nullptr);
    return fresh;
  }();
  return *loaded;
}

std::string decoded(KeySet left, KeySet right) {
  std::string codeText;
  return decodeChord(scheme(), left, right, makeTwoAreaCode(left, right), codeText);
}

std::string codeTextOf(KeySet left, KeySet right) { return scheme().codec.codeText(makeTwoAreaCode(left, right)); }

std::vector<std::string> syllablesOf(std::string_view pinyin) {
  std::vector<std::string> syllables;
  while (!pinyin.empty()) {
    const auto space = pinyin.find(' ');
    syllables.push_back(std::string(pinyin.substr(0, space)) + "'");
    pinyin.remove_prefix(space == std::string_view::npos ? pinyin.size() : space + 1);
  }
  return syllables;
}

// Pinyin as the scheme writes it ("bai'fen'zhi'") shown as a note ("bai fen zhi").
std::string noteOf(std::string_view apostrophed) {
  std::string note(apostrophed);
  std::replace(note.begin(), note.end(), '\'', ' ');
  while (!note.empty() && note.back() == ' ') note.pop_back();
  return note;
}

// The chords of the scheme's [音节码] section in the order it lists them:
// the standard chord of a syllable comes before its shortcuts (IBDNG for
// jing' before BDNG).
std::vector<KeySet> syllableChordsInSchemeOrder() {
  const std::string text = generateFingeringSchemeUtf8();
  std::vector<KeySet> chords;
  bool inSyllables = false;
  for (std::string_view rest = text; !rest.empty();) {
    const auto end = rest.find("\r\n");
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 2);
    if (line.starts_with('[')) inSyllables = line == "[音节码]";
    const auto tab = line.find('\t');
    if (inSyllables && tab != std::string_view::npos) chords.push_back(scheme().codec.keySetOf(line.substr(0, tab)));
  }
  return chords;
}

// Every one-hand chord of each syllable, the standard one first.
const std::map<std::string, std::vector<KeySet>>& chordsBySyllable() {
  static const auto chords = [] {
    std::map<std::string, std::vector<KeySet>> bySyllable;
    for (KeySet keySet : syllableChordsInSchemeOrder()) {
      const std::int32_t number = scheme().syllableMap.get(keySet);
      if (number > 0) bySyllable[std::string(scheme().dictionary.syllables.getText(number))].push_back(keySet);
    }
    return bySyllable;
  }();
  return chords;
}

const std::vector<KeySet>& chordsOf(const std::string& syllable) {
  const auto found = chordsBySyllable().find(syllable);
  if (found == chordsBySyllable().end()) {
    throw std::runtime_error("sample bank: the scheme has no chord for the syllable " + syllable);
  }
  return found->second;
}

// One chord for one or two syllables (left hand, then right): the first
// pair that the decoder reads back as those syllables, and not as a
// function key of both hands.
std::string chordFor(const std::string& left, const std::string& right) {
  const std::vector<KeySet> none{0};
  for (KeySet leftKeys : chordsOf(left)) {
    for (KeySet rightKeys : right.empty() ? none : chordsOf(right)) {
      if (decoded(leftKeys, rightKeys) == left + ":" + right) return codeTextOf(leftKeys, rightKeys);
    }
  }
  throw std::runtime_error("sample bank: no chord of the scheme keys " + left + ":" + right);
}

// A text keyed two syllables a chord, chords separated by "|".
std::string syllableCode(std::string_view pinyin) {
  const std::vector<std::string> syllables = syllablesOf(pinyin);
  std::string code;
  for (std::size_t i = 0; i < syllables.size(); i += 2) {
    if (!code.empty()) code += '|';
    code += chordFor(syllables[i], i + 1 < syllables.size() ? syllables[i + 1] : std::string());
  }
  return code;
}

// The lines of one material; a code used twice would silently cost an entry.
class MaterialWriter {
 public:
  void add(std::string_view text, const std::string& code, std::string_view note) {
    if (!codes_.insert(code).second) {
      throw std::runtime_error("sample bank: the code " + code + " of " + std::string(text) + " is taken already");
    }
    text_.append(text).append("\t").append(code).append("\t").append(note).append("\r\n");
  }
  std::string gbk() const { return utf8ToGbk(text_); }

 private:
  std::set<std::string> codes_;
  std::string text_;
};

std::string syllableMaterial(std::span<const SampleWord> words) {
  MaterialWriter material;
  for (const SampleWord& word : words) material.add(word.text, syllableCode(word.pinyin), word.pinyin);
  return material.gbk();
}

struct SpecialChord {
  KeySet keySet;
  std::string characters;
  std::string pinyin;  // "bai'fen'zhi'"
};

// The special codes in the order the scheme lists them (their pool order).
std::vector<SpecialChord> specialChords() {
  std::vector<std::pair<std::int32_t, KeySet>> byPoolIndex;
  for (KeySet keySet = 1; keySet < kKeySetCount; ++keySet) {
    const std::int32_t index = scheme().specialMap.get(keySet);
    if (index > 0) byPoolIndex.emplace_back(index, keySet);
  }
  std::sort(byPoolIndex.begin(), byPoolIndex.end());
  std::vector<SpecialChord> chords;
  for (const auto& [index, keySet] : byPoolIndex) {
    chords.push_back({keySet, std::string(scheme().schemeTextPool.getText(index)),
                      std::string(scheme().schemeTextPool.getText(index + 1))});
  }
  return chords;
}

}  // namespace

std::string generateSyllableMaterial() { return syllableMaterial(sampleCharacters()); }
std::string generateWordMaterial() { return syllableMaterial(sampleWords()); }
std::string generatePhraseMaterial() { return syllableMaterial(samplePhrases()); }

std::string generateSpecialCodeMaterial() {
  const std::vector<SpecialChord> specials = specialChords();
  MaterialWriter material;
  std::map<std::string, const SpecialChord*> firstOf;
  for (const SpecialChord& special : specials) {
    const std::string code = codeTextOf(special.keySet, 0);
    if (decoded(special.keySet, 0) != special.characters + ":") {
      throw std::runtime_error("sample bank: the special code " + code + " does not decode to " + special.characters);
    }
    material.add(special.characters, code, noteOf(special.pinyin));
    firstOf.emplace(special.characters, &special);
  }
  // Numbers: a digit on the left hand, a unit on the right.
  for (std::string_view digit : {"一", "二", "三", "四", "五", "六", "七", "八", "九"}) {
    for (std::string_view unit : {"十", "百", "千", "万", "亿"}) {
      if (digit == "一" && unit == "十") continue;  // said 十
      const SpecialChord& left = *firstOf.at(std::string(digit));
      const SpecialChord& right = *firstOf.at(std::string(unit));
      const std::string text = left.characters + right.characters;
      if (decoded(left.keySet, right.keySet) != left.characters + ":" + right.characters) {
        throw std::runtime_error("sample bank: " + text + " is a function key of the scheme");
      }
      material.add(text, codeTextOf(left.keySet, right.keySet), noteOf(left.pinyin + right.pinyin));
    }
  }
  return material.gbk();
}

}  // namespace qiru::datagen
