// Parsing match material: which lines count, which are reported, how codes
// are normalised, how many entries a match gets and in what order, and how
// a struck chord is checked against an entry.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "materials/material_line.h"
#include "materials/material_set.h"
#include "support/headless_messages.h"
#include "support/page_block.h"

namespace qiru {
namespace {

std::string crlfLines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (auto line : lines) (text += line) += "\r\n";
  return text;
}

// Five legal lines: one-chord words, a two-chord phrase and a note.
const std::string kFiveWords = crlfLines({
    "北京\tBOG:IBDNG\tbei jing",
    "上海\tBLANG:IHA",
    "中国\tIBHO:HLO",
    "时间\tIBL:IBDAN",
    "改革开放\tIHLA:HL|IRFA:FANG\tgai ge kai fang",
});

struct ParsedSet {
  HeadlessMessages messages;
  MaterialSet set{&messages};
  bool parsed = false;

  std::vector<std::string> captions() const {
    std::vector<std::string> result;
    for (const auto& record : messages.records()) result.push_back(record.request.caption);
    return result;
  }
  std::vector<std::string> texts() const {
    std::vector<std::string> result;
    for (const auto& record : messages.records()) result.push_back(record.request.text);
    return result;
  }
  std::vector<std::string> entryTexts() const {
    std::vector<std::string> result;
    MaterialEntry entry;
    for (std::int32_t position = 1; position <= set.Count(); ++position) {
      EXPECT_TRUE(set.GetEntry(position, entry));
      result.push_back(entry.text);
    }
    return result;
  }
};

std::unique_ptr<ParsedSet> parse(std::string_view text, std::int32_t n, std::uint64_t seed = 7) {
  auto parsed = std::make_unique<ParsedSet>();
  parsed->set.seedShuffle(seed);
  parsed->parsed = parsed->set.Parse(text, n);
  return parsed;
}

std::vector<std::string> sorted(std::vector<std::string> texts) {
  std::sort(texts.begin(), texts.end());
  return texts;
}

TEST(MaterialCode, NormalisationTable) {
  const ChordCodec codec;
  struct Case {
    std::string_view written, normalised;
  };
  const Case cases[] = {
      {"BOG:IBDNG", "OGB:NGBDI"},              // keys in machine order
      {" BO G ：IBD NG ", "OGB:NGBDI"},         // spaces anywhere, full-width colon
      {"\u3000BOG\u3000:\u3000IBDNG", "OGB:NGBDI"},  // full-width spaces
      {"IHLA:HL|IRFA:FANG", "HALI:HL|RAFI:ANFG"},
      {"A:B:C", "A:B"},                         // a third part is dropped
      {"BA:FL||DA:", "AB:FL|AD:"},              // an empty chord disappears
      {"BA:FL|", "AB:FL"},                      // so does a trailing one
      {"|", ""},
      {":I", ":I"},
      {"RNO:", "RNO:"},
      {"BA", "AB"},                             // no colon: canonical, but invalid
      {"xyz:FL", "xyz:FL"},                     // unreadable keys stay as written
      {"ba':是", "ba':是"},                     // a decoded output can serve as a code
  };
  for (const Case& c : cases) EXPECT_EQ(normaliseCode(c.written, codec), c.normalised) << c.written;
}

TEST(MaterialCode, ValidityAndChordCount) {
  EXPECT_TRUE(isValidCode("OGB:NGBDI"));
  EXPECT_TRUE(isValidCode(":I|RNO:"));
  EXPECT_FALSE(isValidCode("AB"));
  EXPECT_FALSE(isValidCode("AB:FL|AB"));
  EXPECT_EQ(chordCountOf("OGB:NGBDI"), 1);
  EXPECT_EQ(chordCountOf("HALI:HL|RAFI:ANFG"), 2);
}

TEST(MaterialSet, LegalLinesBecomeEntriesWithTextNoteAndChordCount) {
  const auto parsed = parse(kFiveWords, 5);
  ASSERT_TRUE(parsed->parsed);
  EXPECT_TRUE(parsed->messages.records().empty());
  EXPECT_EQ(parsed->set.Count(), 5);
  EXPECT_EQ(sorted(parsed->entryTexts()), sorted({"北京", "上海", "中国", "时间", "改革开放"}));
  std::map<std::string, MaterialEntry> byText;
  MaterialEntry entry;
  for (std::int32_t position = 1; position <= 5; ++position) {
    parsed->set.GetEntry(position, entry);
    byText[entry.text] = entry;
    EXPECT_EQ(parsed->set.ChordCount(position), entry.chordCount);
  }
  EXPECT_EQ(byText["北京"].note, "bei jing");
  EXPECT_EQ(byText["北京"].chordCount, 1);
  EXPECT_EQ(byText["上海"].note, "");
  EXPECT_EQ(byText["改革开放"].chordCount, 2);
  EXPECT_EQ(byText["改革开放"].note, "gai ge kai fang");
}

TEST(MaterialSet, LinesThatAreIgnoredWithoutAMessage) {
  const auto parsed = parse(kFiveWords + crlfLines({
                                             "",
                                             "只有一列",
                                             "  \u3000\tAB:FL",          // text of spaces only
                                             "无码\t \u3000 | ",          // code of spaces and "|" only
                                             "背景\tBOG : IBDNG",         // 北京's code, written otherwise
                                             "\u3000把是 \tAB:FL\t 提示 ",  // trimmed text, note as written
                                         }),
                            6);
  ASSERT_TRUE(parsed->parsed);
  EXPECT_TRUE(parsed->messages.records().empty());
  EXPECT_EQ(parsed->set.legalCount(), 6);
  EXPECT_EQ(parsed->set.codeDictionary().LookupText("OGB:NGBDI"), "北京");
  MaterialEntry entry;
  for (std::int32_t position = 1; position <= 6; ++position) {
    parsed->set.GetEntry(position, entry);
    if (entry.text == "把是") {
      EXPECT_EQ(entry.note, " 提示 ");
    }
  }
  const auto texts = parsed->entryTexts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "把是"), 1);
}

TEST(MaterialSet, OnlyCrLfEndsALine) {
  // Saved with LF alone, the whole file is one line; its columns run across
  // the physical lines, so at most one entry is legal.
  std::string lfOnly = kFiveWords;
  for (std::size_t at; (at = lfOnly.find("\r\n")) != std::string::npos;) lfOnly.erase(at, 1);
  const auto parsed = parse(lfOnly, 5);
  EXPECT_FALSE(parsed->parsed);
  EXPECT_EQ(parsed->set.legalCount(), 1);
  EXPECT_EQ(parsed->texts(), std::vector<std::string>{"指定比赛素材合法条目低于5条！"});
  EXPECT_EQ(parsed->captions(), std::vector<std::string>{"错误行"});

  // A lone CR stays inside its line too; the last line needs no CR LF.
  const auto lastLineOpen = parse(kFiveWords + "好\tHAO:\r", 6);
  ASSERT_TRUE(lastLineOpen->parsed);
  EXPECT_EQ(lastLineOpen->set.codeDictionary().LookupText("HAO:\r"), "好");
}

TEST(MaterialSet, FiveLegalLinesAreEnoughAndFourAreNot) {
  EXPECT_TRUE(parse(kFiveWords, 20)->parsed);
  const std::string fourWords = kFiveWords.substr(0, kFiveWords.rfind("改革开放"));
  const auto parsed = parse(fourWords, 20);
  EXPECT_FALSE(parsed->parsed);
  EXPECT_EQ(parsed->set.Count(), 0);
  EXPECT_EQ(parsed->captions(), std::vector<std::string>{"错误行"});
  EXPECT_EQ(parsed->texts(), std::vector<std::string>{"指定比赛素材合法条目低于5条！"});
}

TEST(MaterialSet, FourInvalidLinesAreReportedAndTheFifthEndsTheParse) {
  const std::string invalid = crlfLines({"坏一\tAB", "坏二\tAB:FL|IBD", "坏三\tFL", "坏四\tZZZ"});
  const auto four = parse(kFiveWords + invalid, 5);
  ASSERT_TRUE(four->parsed);
  ASSERT_EQ(four->texts().size(), 4u);
  EXPECT_EQ(four->texts()[0], "错误设置条目：第6行\r\n坏一\tAB");
  EXPECT_EQ(four->texts()[3], "错误设置条目：第9行\r\n坏四\tZZZ");
  for (const auto& caption : four->captions()) EXPECT_EQ(caption, "错误行");

  const auto five = parse(kFiveWords + invalid + crlfLines({"坏五\tBA", "好\tHAO:"}), 5);
  EXPECT_FALSE(five->parsed);
  EXPECT_EQ(five->set.Count(), 0);
  EXPECT_EQ(five->captions(), (std::vector<std::string>{"错误行", "错误行", "错误行", "错误行", "错误行", "错误："}));
  EXPECT_EQ(five->texts()[4], "错误设置条目：第10行\r\n坏五\tBA");
  EXPECT_EQ(five->texts()[5], "错误条目过多，请检查比赛文件的格式是否符合定义规则！");
  // The parse stopped at the fifth invalid line: the dictionary holds the
  // codes added before it and nothing after.
  EXPECT_EQ(five->set.codeDictionary().LookupText("OGB:NGBDI"), "北京");
  EXPECT_EQ(five->set.codeDictionary().LookupText("HAO:"), "");
}

TEST(MaterialSet, RequestedEntryCounts) {
  struct Case {
    std::int32_t n;
    std::map<std::string, int> timesEach;
  };
  const Case cases[] = {
      {0, {}},
      {-3, {}},  // a negative request asks for nothing
      {3, {{"北京", 1}, {"上海", 1}, {"中国", 1}}},  // only the first n lines take part
      {12, {{"北京", 3}, {"上海", 3}, {"中国", 2}, {"时间", 2}, {"改革开放", 2}}},  // repeated in turn
  };
  for (const Case& c : cases) {
    const auto parsed = parse(kFiveWords, c.n);
    ASSERT_TRUE(parsed->parsed) << c.n;
    std::map<std::string, int> timesEach;
    for (const auto& text : parsed->entryTexts()) ++timesEach[text];
    EXPECT_EQ(timesEach, c.timesEach) << c.n;
    // Whatever n is, every legal line's code answers.
    EXPECT_EQ(parsed->set.codeDictionary().LookupText("RAFI:ANFG"), "") << "one chord of a two-chord code";
    EXPECT_EQ(parsed->set.codeDictionary().LookupText("HALI:HL|RAFI:ANFG"), "改革开放");
  }
}

TEST(MaterialSet, PlayOrderIsAUniformShuffleAndReproducibleFromASeed) {
  // Three entries drawn 12,000 times: each of the six orders should come up
  // about 2,000 times. A shuffle that swaps with any position instead of the
  // ones not yet placed gives about 1,780 and 2,220.
  MaterialSet set;
  set.seedShuffle(2024);
  std::map<std::string, int> orders;
  MaterialEntry entry;
  for (int trial = 0; trial < 12000; ++trial) {
    ASSERT_TRUE(set.Parse(kFiveWords, 3));
    std::string order;
    for (std::int32_t position = 1; position <= 3; ++position) {
      set.GetEntry(position, entry);
      order += entry.text + " ";
    }
    ++orders[order];
  }
  ASSERT_EQ(orders.size(), 6u);
  for (const auto& [order, times] : orders) {
    EXPECT_NEAR(times, 2000, 150) << order;
  }
  EXPECT_EQ(parse(kFiveWords, 100, 99)->entryTexts(), parse(kFiveWords, 100, 99)->entryTexts());
  EXPECT_NE(parse(kFiveWords, 100, 99)->entryTexts(), parse(kFiveWords, 100, 100)->entryTexts());
}

TEST(MaterialSet, GetEntryOutsideThePositions) {
  const auto parsed = parse(kFiveWords, 5);
  for (const std::int32_t position : {0, -1, 6}) {
    MaterialEntry entry{"旧", "旧提示", 9, "D:"};
    EXPECT_FALSE(parsed->set.GetEntry(position, entry));
    EXPECT_EQ(entry.text, "");
    EXPECT_EQ(entry.note, "");
    EXPECT_EQ(entry.chordCount, 9);
    EXPECT_EQ(parsed->set.ChordCount(position), 0);
    EXPECT_FALSE(parsed->set.Matches(position, "bei':jing'", "OGB:NGBDI"));
  }
}

TEST(MaterialSet, MatchesByKeyNameOrElseByChordText) {
  const auto parsed = parse(kFiveWords + crlfLines({"是\tFL:", "把是\tba':是", "背景\tBOG:IBDNG"}), 8);
  ASSERT_TRUE(parsed->parsed);
  std::map<std::string, std::int32_t> positionOf;
  MaterialEntry entry;
  for (std::int32_t position = 1; position <= 8; ++position) {
    parsed->set.GetEntry(position, entry);
    positionOf[entry.text] = position;
  }
  ASSERT_EQ(positionOf.count("背景"), 0u) << "a repeated code is ignored";
  struct Case {
    std::string_view entry, keyName, chordText;
    bool matches;
  };
  const Case cases[] = {
      {"北京", "bei':jing'", "OGB:NGBDI", true},  // by the chord text
      {"把是", "ba':是", "AB:FL", true},          // by the decoded key name
      {"是", "是:", "FL:", true},
      {"北京", "bei':jing'", "OGB:NGBD", false},  // one key short
      {"上海", "bei':jing'", "OGB:NGBDI", false}, // right chord, other entry
      {"改革开放", "gai':ge'", "HALI:HL", false},  // half of a two-chord code
      {"改革开放", "", "HALI:HL|RAFI:ANFG", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(parsed->set.Matches(positionOf.at(std::string(c.entry)), c.keyName, c.chordText), c.matches)
        << c.entry << " / " << c.keyName << " / " << c.chordText;
  }
}

TEST(MaterialSet, AFailedParseLeavesNoEntriesOfTheFileBefore) {
  HeadlessMessages messages;
  MaterialSet set(&messages);
  ASSERT_TRUE(set.Parse(kFiveWords, 5));
  EXPECT_FALSE(set.Parse(crlfLines({"上海\tBLANG:IHA"}), 5));
  EXPECT_EQ(set.Count(), 0);
  MaterialEntry entry;
  EXPECT_FALSE(set.GetEntry(1, entry));
  EXPECT_EQ(set.codeDictionary().LookupText("OGB:NGBDI"), "");
  EXPECT_EQ(set.codeDictionary().LookupText("ANLGB:HAI"), "上海");
}

TEST(MaterialSet, NoMemoryForTheDictionaryFailsTheParseWithAMessage) {
  setPageAllocationFailureForTesting([] { return true; });
  const auto parsed = parse(kFiveWords, 5);
  setPageAllocationFailureForTesting({});
  EXPECT_FALSE(parsed->parsed);
  EXPECT_EQ(parsed->set.Count(), 0);
  EXPECT_EQ(parsed->captions(), std::vector<std::string>{"错误："});
  EXPECT_EQ(parsed->texts(), std::vector<std::string>{std::string(kMaterialNoMemory)});
}

}  // namespace
}  // namespace qiru
