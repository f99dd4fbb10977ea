#pragma once
// The material of the current match: the legal lines of a material file,
// the code dictionary built from them, and the entries the players key, in
// random play order. One set serves the whole program; a match start parses
// the chosen file into it, and while the match runs the reader threads and
// the match worker only read it.

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "materials/code_dictionary.h"
#include "steno/chord_codec.h"
#include "support/messages.h"

namespace qiru {

struct MaterialEntry {
  std::string text;             // what the player keys; never empty
  std::string note;             // a hint shown with it; may be empty
  std::int32_t chordCount = 0;  // chords in its code
  std::string code;             // the chords that answer it, as the file writes them ("BOG:IBDNG|...")
};

// A material with fewer legal lines than this cannot make a match.
inline constexpr std::int32_t kFewestLegalEntries = 5;
// Parsing gives up at this many invalid lines.
inline constexpr std::int32_t kMostInvalidLines = 5;
// Codes a material is expected to hold; the dictionary grows beyond it.
inline constexpr std::int32_t kDictionaryCapacity = 500;
// More entries than any match can play (over 55 hours of a timed race at
// 300 entries a minute); a larger request is cut to it.
inline constexpr std::int32_t kMostEntriesPerMatch = 1'000'000;

// Captions and texts of the boxes a parse shows.
inline constexpr std::string_view kLineErrorCaption = "错误行";
inline constexpr std::string_view kMaterialErrorCaption = "错误：";
inline constexpr std::string_view kTooManyInvalidLines = "错误条目过多，请检查比赛文件的格式是否符合定义规则！";
inline constexpr std::string_view kTooFewLegalEntries = "指定比赛素材合法条目低于5条！";
inline constexpr std::string_view kMaterialNoMemory = "内存不足，无法载入比赛素材！请关闭其他程序后重新开始比赛。";

class MaterialSet {
 public:
  // Boxes go to `messages`; none: the parse stays silent.
  explicit MaterialSet(MessageService* messages = nullptr);

  // Empties the dictionary and the entries.
  void Clear();
  std::int32_t Count() const { return static_cast<std::int32_t>(entries_.size()); }

  // Reads a material text (UTF-8, CR LF lines) and fills the set with `n`
  // entries in random order: only the first `n` legal lines when the file
  // has more, the legal lines repeated in turn when it has fewer. Invalid
  // lines are shown one box each. False, with no entries left, when five
  // lines are invalid or fewer than five are legal. A negative `n` asks for
  // none.
  bool Parse(std::string_view text, std::int32_t n);

  // Entry `position` (1..Count()) into `entry`; false outside, with the
  // entry's text, note and code emptied and its chord count left as it was.
  bool GetEntry(std::int32_t position, MaterialEntry& entry) const;

  // Whether a struck chord answers entry `position`: the text the material
  // gives for the decoded key name, or else for the chord's code text,
  // equals the entry's text.
  bool Matches(std::int32_t position, std::string_view keyName, std::string_view chordText) const;

  // Chords in entry `position`'s code; 0 outside 1..Count().
  std::int32_t ChordCount(std::int32_t position) const;
  // Entry `position`'s code; empty outside 1..Count().
  std::string_view AnswerCode(std::int32_t position) const;

  // Legal lines the last Parse found (up to where it gave up, if it did).
  std::int32_t legalCount() const { return static_cast<std::int32_t>(legalEntries_.size()); }
  const CodeDictionary& codeDictionary() const { return dictionary; }

  // Makes the play order reproducible, for tests and simulations. Without
  // it the order is seeded from the system's entropy source and the clock.
  void seedShuffle(std::uint64_t seed) { random_.seed(seed); }

 private:
  const MaterialEntry* entryAt(std::int32_t position) const;
  void fillEntries(std::int32_t n);
  void show(std::string_view caption, std::string text) const;

  MessageService* messages_;
  ChordCodec codec_;
  CodeDictionary dictionary;
  std::vector<MaterialEntry> legalEntries_;  // in file order
  // The entries in play order, each as its index in legalEntries_: a long
  // timed race repeats the legal lines without copying their texts.
  std::vector<std::int32_t> entries_;
  std::mt19937_64 random_;
};

}  // namespace qiru
