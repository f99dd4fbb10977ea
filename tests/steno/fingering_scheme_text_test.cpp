// The built-in fingering scheme, read back by a small parser of its own (not
// the scheme loader): line and field splitting, the counts each table ends
// with, and the chords that must keep the meaning the decoder promises.

#include "tools/datagen/fingering_scheme_text.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "steno/chord_codec.h"
#include "support/text_encoding.h"

namespace qiru::datagen {
namespace {

const std::set<std::string> kOneAreaSections = {"[音节码]",   "[特定码]",     "[内置形码]",  "[内置英文]",
                                                "[声调编码]", "[左区功能键]", "[右区功能键]"};
const std::set<std::string> kTwoAreaSections = {"[内部功能键]", "[播放器控制]", "[连发功能键]",
                                                "[转发功能键]"};

struct Row {
  std::string section;
  std::vector<std::string> fields;  // two or three
  int chord = 0;                    // key set or two-area code
};

struct ParsedScheme {
  std::vector<std::string> lines;
  std::vector<Row> rows;
  std::map<std::string, std::vector<std::string>> shortLines;    // data lines with one field
  std::map<std::string, std::vector<std::string>> commentLines;  // "//" lines, per section
};

std::vector<std::string> split(std::string_view text, std::string_view separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (auto end = text.find(separator); end != std::string_view::npos; end = text.find(separator, start)) {
    parts.emplace_back(text.substr(start, end - start));
    start = end + separator.size();
  }
  parts.emplace_back(text.substr(start));
  return parts;
}

// At most three TAB-separated fields; a trailing empty field does not count.
std::vector<std::string> fieldsOf(const std::string& line) {
  auto fields = split(line, "\t");
  if (fields.size() > 3) fields.resize(3);
  if (fields.size() > 1 && fields.back().empty()) fields.pop_back();
  return fields;
}

ParsedScheme parse(const std::string& utf8) {
  ParsedScheme scheme;
  scheme.lines = split(utf8, "\r\n");
  const ChordCodec codec;
  std::string section;
  for (const std::string& line : scheme.lines) {
    if (line.empty()) continue;
    if (line[0] == '/' || line[0] == '\\') {
      scheme.commentLines[section].push_back(line);
      continue;
    }
    if (line[0] == '[') {
      section = kOneAreaSections.count(line) || kTwoAreaSections.count(line) ? line : "";
      continue;
    }
    if (section.empty()) continue;
    auto fields = fieldsOf(line);
    if (fields.size() < 2) {
      scheme.shortLines[section].push_back(line);
      continue;
    }
    const int chord =
        kOneAreaSections.count(section) ? codec.keySetOf(fields[0]) : codec.twoAreaCodeOf(fields[0]);
    scheme.rows.push_back({section, std::move(fields), chord});
  }
  return scheme;
}

const ParsedScheme& builtin() {
  static const ParsedScheme scheme = parse(gbkToUtf8(generateFingeringSchemeText()));
  return scheme;
}

std::vector<const Row*> rowsOf(std::initializer_list<std::string_view> sections) {
  std::vector<const Row*> rows;
  for (const Row& row : builtin().rows) {
    for (std::string_view section : sections) {
      if (row.section == section) rows.push_back(&row);
    }
  }
  return rows;
}

std::size_t distinctChords(const std::vector<const Row*>& rows) {
  std::set<int> chords;
  for (const Row* row : rows) chords.insert(row->chord);
  return chords.size();
}

TEST(FingeringSchemeText, OpensWithBasicInfoAndSeparatesLinesWithCrLf) {
  const std::string gbk = generateFingeringSchemeText();
  const auto& lines = builtin().lines;
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "[基本信息]");
  EXPECT_EQ(lines[1].rfind("名称=", 0), 0u);
  EXPECT_GT(lines[1].size(), std::string("名称=").size());
  EXPECT_EQ(lines[2], "键名=RHANVFLUOGBDI");

  EXPECT_NE(gbk.back(), '\n') << "the last line has no terminator";
  for (std::size_t i = 0; i < gbk.size(); ++i) {
    if (gbk[i] == '\n') {
      ASSERT_TRUE(i > 0 && gbk[i - 1] == '\r') << "bare LF at byte " << i;
    }
    if (gbk[i] == '\r') {
      ASSERT_TRUE(i + 1 < gbk.size() && gbk[i + 1] == '\n') << "bare CR at byte " << i;
    }
  }
}

TEST(FingeringSchemeText, EveryCharacterSurvivesTheRoundTripThroughGbk) {
  EXPECT_EQ(gbkToUtf8(generateFingeringSchemeText()), generateFingeringSchemeUtf8());
}

TEST(FingeringSchemeText, EachSectionFillsItsTableWithValidDistinctChords) {
  struct Case {
    std::string_view section;
    std::size_t rows;
    std::size_t distinct;
  };
  const Case cases[] = {
      {"[音节码]", 479, 479},   {"[特定码]", 47, 47},         {"[内置形码]", 64, 64},
      {"[内置英文]", 58, 58},   {"[声调编码]", 4, 4},         {"[左区功能键]", 10, 10},
      {"[右区功能键]", 19, 19}, {"[内部功能键]", 1084, 1083}, {"[播放器控制]", 70, 70},
      {"[连发功能键]", 37, 37}, {"[转发功能键]", 997, 997},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.section));
    const auto rows = rowsOf({c.section});
    EXPECT_EQ(rows.size(), c.rows);
    EXPECT_EQ(distinctChords(rows), c.distinct);
    for (const Row* row : rows) EXPECT_GT(row->chord, 0) << row->fields[0];
  }
  // [内部功能键] and [播放器控制] fill one table.
  EXPECT_EQ(distinctChords(rowsOf({"[内部功能键]", "[播放器控制]"})), 1153u);
}

TEST(FingeringSchemeText, FillsThePoolWith2433Texts) {
  std::size_t texts = 0;
  for (const Row& row : builtin().rows) {
    if (row.section == "[特定码]") {
      ASSERT_EQ(row.fields.size(), 3u) << row.fields[0];
      texts += 2;
    } else if (row.section != "[音节码]" && row.section != "[声调编码]") {
      texts += 1;
    }
  }
  EXPECT_EQ(texts, 2433u);
}

// The function, repeat and forward tables are consulted in that order, so a
// chord in two of them would silently hide the later meaning.
TEST(FingeringSchemeText, BBIsTheOnlyTwoAreaChordDefinedTwice) {
  const ChordCodec codec;
  std::map<int, std::vector<std::string>> meanings;
  for (const Row* row : rowsOf({"[内部功能键]", "[播放器控制]", "[连发功能键]", "[转发功能键]"})) {
    meanings[row->chord].push_back(row->section + " " + row->fields[1]);
  }
  for (const auto& [chord, values] : meanings) {
    if (chord == codec.twoAreaCodeOf("B:B")) {
      EXPECT_EQ(values, (std::vector<std::string>{"[内部功能键] 略三四", "[内部功能键] 数字 5"}));
    } else {
      EXPECT_EQ(values.size(), 1u) << codec.codeText(chord) << ": " << ::testing::PrintToString(values);
    }
  }
}

// Chords whose decoding is fixed by examples: either the one row that gives
// them their meaning, or no two-area row at all (the hands' own meanings or
// their letters show through).
TEST(FingeringSchemeText, ExampleChordsKeepTheirMeaning) {
  struct Case {
    std::string_view chord;
    std::vector<std::string> rows;  // "section value"
  };
  const Case cases[] = {
      {"BA:FL", {}},
      {":I", {"[转发功能键] EN"}},
      {"IFL:IFL", {"[内部功能键] 锁定"}},
      {"IRH:IRH", {"[内部功能键] 最小化"}},
      {"B:B", {"[内部功能键] 略三四", "[内部功能键] 数字 5"}},
      {":UO", {"[连发功能键] SP"}},
      {":HA", {"[连发功能键] BS"}},
      {"F:I", {"[连发功能键] EN"}},
      {"B:I", {"[转发功能键] EN"}},
      {"B:IUO", {"[转发功能键] SP"}},
      {"B:IHA", {"[转发功能键] BS"}},
      {"FAO:I", {"[播放器控制] 播放器 播放/暂停"}},
      {"OAF:DAN", {"[播放器控制] 播放器 单行字幕"}},
      {"RNO:", {}},
      {":RNO", {}},
      {"RHNV:", {}},
      {"BA:", {}},
      {"A:B:", {}},
      {":FL", {}},
      {"FL:", {}},
      {"BA:BA", {}},
      {"FUOG:FUOG", {}},
      {"IF:", {}},
      {":IF", {}},
      {"IF:IF", {}},
      {"LN:", {}},
      {"UN:", {}},
      {":BN", {}},
      {"F:DFO", {}},
      {"RHAN:", {}},
      {":RHIA", {}},
      {"BD:", {}},
      {"ILU:", {}},
      {"BOG:IBDNG", {}},
  };
  const ChordCodec codec;
  const auto twoAreaRows = rowsOf({"[内部功能键]", "[播放器控制]", "[连发功能键]", "[转发功能键]"});
  for (const Case& c : cases) {
    const int code = codec.twoAreaCodeOf(c.chord);
    std::vector<std::string> found;
    for (const Row* row : twoAreaRows) {
      if (row->chord == code) found.push_back(row->section + " " + row->fields[1]);
    }
    EXPECT_EQ(found, c.rows) << c.chord;
  }
}

// A two-syllable word is struck as one chord, first syllable on the left hand
// and second on the right; no function or forwarded key may take such a chord
// away, so their left parts are never a one-hand code of the left hand.
// ([连发功能键] is exempt: its RFOG rows are part of the fixed content.)
TEST(FingeringSchemeText, FunctionChordsLeaveWordChordsFree) {
  std::set<int> leftHandCodes;
  for (const Row* row :
       rowsOf({"[音节码]", "[特定码]", "[内置形码]", "[内置英文]", "[声调编码]", "[左区功能键]"})) {
    leftHandCodes.insert(row->chord);
  }
  for (const Row* row : rowsOf({"[内部功能键]", "[播放器控制]", "[转发功能键]"})) {
    EXPECT_EQ(leftHandCodes.count(leftKeySetOf(row->chord)), 0u)
        << row->section << " " << row->fields[0] << " " << row->fields[1];
  }
}

TEST(FingeringSchemeText, CarriesTheLinesTheLoaderPassesOver) {
  const ParsedScheme& scheme = builtin();
  EXPECT_EQ(scheme.shortLines.at("[内部功能键]"), std::vector<std::string>{"　"});
  EXPECT_EQ(scheme.shortLines.size(), 1u);

  std::size_t remarks = 0;
  for (const Row* row : rowsOf({"[内部功能键]"})) remarks += row->fields[1].find("//") != std::string::npos;
  EXPECT_EQ(remarks, 11u);

  std::vector<std::string> disabledRows;
  for (const std::string& line : scheme.commentLines.at("[连发功能键]")) {
    if (line.find('\t') != std::string::npos) disabledRows.push_back(line);
  }
  ASSERT_EQ(disabledRows.size(), 9u);
  EXPECT_EQ(disabledRows.front(), "//F:IRFO\tSP");
}

}  // namespace
}  // namespace qiru::datagen
