// The sample question bank as it ships in data/: every material starts a
// match without a message, and every code, decoded with the built-in
// scheme, spells its entry's syllables (as the note gives them) or, for a
// special code, the entry's characters themselves.

#include <gtest/gtest.h>

#include "materials/material_file.h"
#include "materials/text_split.h"
#include "materials/utf8_path.h"
#include "steno/builtin_scheme.h"
#include "steno/chord_decoder.h"
#include "support/headless_messages.h"
#include "tools/datagen/generated_files.h"

namespace qiru {
namespace {

constexpr std::string_view kBankFolder = "比赛题库/";

std::vector<std::filesystem::path> sampleMaterials() {
  std::vector<std::filesystem::path> paths;
  for (const auto& file : datagen::kGeneratedFiles) {
    if (file.name.starts_with(kBankFolder)) {
      paths.push_back(std::filesystem::path(QIRU_SOURCE_DIR) / "data" / pathFromUtf8(file.name));
    }
  }
  return paths;
}

std::vector<std::string_view> linesOf(std::string_view text) {
  auto lines = splitAt(text, "\r\n");
  if (lines.back().empty()) lines.pop_back();
  return lines;
}

// The tables the program decodes with, loaded and published once.
const FingeringScheme& builtinScheme() {
  [[maybe_unused]] static const bool loaded = loadFingeringScheme(nullptr);
  return currentScheme();
}

// What the decoder makes of a code, chord by chord, without the colons:
// "bei':jing'" and "a'" give "bei'jing'a'".
std::string decodedCode(std::string_view code) {
  std::string decoded;
  for (std::string_view chord : splitAt(code, "|")) {
    const TwoAreaCode combined = builtinScheme().codec.twoAreaCodeOf(chord);
    std::string codeText;
    std::string output =
        decodeChord(builtinScheme(), leftKeySetOf(combined), rightKeySetOf(combined), combined, codeText);
    EXPECT_EQ(codeText, chord) << "codes are written as the decoder shows them";
    std::erase(output, ':');
    decoded += output;
  }
  return decoded;
}

// "bei jing" as the decoder spells syllables: "bei'jing'".
std::string apostrophed(std::string_view pinyin) {
  std::string spelled;
  for (std::string_view syllable : splitAt(pinyin, " ")) spelled.append(syllable).append("'");
  return spelled;
}

TEST(SampleBank, EveryMaterialStartsAMatchWithAtLeastFiftyEntries) {
  const auto materials = sampleMaterials();
  ASSERT_GE(materials.size(), 4u);
  for (const auto& path : materials) {
    const auto text = readMaterialFile(path);
    ASSERT_TRUE(text.has_value()) << path;
    HeadlessMessages messages;
    MaterialSet set(&messages);
    EXPECT_TRUE(set.Parse(*text, 50)) << path;
    EXPECT_TRUE(messages.records().empty()) << path;
    EXPECT_GE(set.legalCount(), 50) << path;
    EXPECT_EQ(set.legalCount(), static_cast<std::int32_t>(linesOf(*text).size())) << path << ": no line is ignored";
  }
}

TEST(SampleBank, EveryCodeDecodesToItsEntry) {
  for (const auto& path : sampleMaterials()) {
    const auto text = readMaterialFile(path);
    ASSERT_TRUE(text.has_value()) << path;
    for (std::string_view line : linesOf(*text)) {
      const auto columns = splitAt(line, "\t");
      ASSERT_EQ(columns.size(), 3u) << path << ": " << line;
      const std::string decoded = decodedCode(columns[1]);
      EXPECT_TRUE(decoded == apostrophed(columns[2]) || decoded == columns[0])
          << path << ": " << line << " decodes to " << decoded;
    }
  }
}

}  // namespace
}  // namespace qiru
