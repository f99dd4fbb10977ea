// Loading fingering schemes: the built-in one, and small hand-written ones
// that show how bad lines are reported and what the tables keep.

#include <gtest/gtest.h>

#include <vector>

#include "steno/builtin_scheme.h"
#include "steno/fingering_scheme.h"
#include "support/text_encoding.h"

namespace qiru {
namespace {

class RecordingMessages : public MessageService {
 public:
  int show(const MessageRequest& request) override {
    requests.push_back(request);
    return AnswerOk;
  }
  std::vector<MessageRequest> requests;
};

struct LoadedScheme {
  FingeringScheme scheme;
  RecordingMessages messages;
};

// Lines joined with CR LF and stored as GBK, as the program carries them.
std::unique_ptr<LoadedScheme> load(std::initializer_list<std::string_view> lines,
                                   std::string_view dictionaryBlock = builtinSyllableDictionaryBlock()) {
  std::string text;
  for (auto line : lines) {
    if (!text.empty()) text += "\r\n";
    text += line;
  }
  auto loaded = std::make_unique<LoadedScheme>();
  EXPECT_TRUE(loadFingeringScheme(loaded->scheme, utf8ToGbk(text), dictionaryBlock, &loaded->messages));
  return loaded;
}

TEST(SchemeLoader, BuiltInSchemeFillsEveryTableWithoutComplaint) {
  FingeringScheme scheme;
  RecordingMessages messages;
  loadFingeringScheme(scheme, builtinFingeringSchemeText(), builtinSyllableDictionaryBlock(), &messages);
  EXPECT_TRUE(messages.requests.empty()) << messages.requests.front().text;
  EXPECT_EQ(scheme.syllableMap.count(), 479);
  EXPECT_EQ(scheme.specialMap.count(), 47);
  EXPECT_EQ(scheme.shapeMap.count(), 64);
  EXPECT_EQ(scheme.englishMap.count(), 58);
  EXPECT_EQ(scheme.toneMap.count(), 4);
  EXPECT_EQ(scheme.leftFunctionMap.count(), 10);
  EXPECT_EQ(scheme.rightFunctionMap.count(), 19);
  EXPECT_EQ(scheme.functionMap.count(), 1153);
  EXPECT_EQ(scheme.repeatMap.count(), 37);
  EXPECT_EQ(scheme.forwardMap.count(), 997);
  EXPECT_EQ(scheme.schemeTextPool.count(), 2433);
  // 413 expected syllables size the map at 157 slots; 479 chords overflow
  // into at least four segments.
  EXPECT_GE(scheme.syllableMap.segmentCount(), 4);
  EXPECT_EQ(scheme.dictionary.syllableCount, 414);
}

TEST(SchemeLoader, BadLinesAreReportedWithTheirSectionAndSkipped) {
  const auto loaded = load({
      "[音节码]",
      "ABC\tzzz'",
      "BA\tba'",
      "BRA\tlve'",
      "xyz\tba'",
      "[声调编码]",
      "xyz\t1",
      "[内部功能键]",
      "AB\t两手都没有",
      "A:B:C\t三段",
  });
  const auto& requests = loaded->messages.requests;
  ASSERT_EQ(requests.size(), 5u);
  for (const auto& request : requests) {
    EXPECT_EQ(request.caption, "配置定义错误");
    EXPECT_EQ(request.owner, MessageOwner::None);
    EXPECT_EQ(request.buttons, MessageButtons::Ok);
  }
  EXPECT_EQ(requests[0].text, "错误定义行：\r\n[音节码]\r\nABC\tzzz'");
  EXPECT_EQ(requests[1].text, "错误定义行：\r\n[音节码]\r\nxyz\tba'");
  EXPECT_EQ(requests[2].text, "错误定义行：\r\n[声调码]\r\nxyz\t1");
  EXPECT_EQ(requests[3].text, "错误定义行：\r\n[内部功能键]\r\nAB\t两手都没有");
  EXPECT_EQ(requests[4].text, "错误定义行：\r\n[内部功能键]\r\nA:B:C\t三段");
  const FingeringScheme& scheme = loaded->scheme;
  EXPECT_EQ(scheme.syllableMap.get(1028), 6);    // BA
  EXPECT_EQ(scheme.syllableMap.get(1029), 189);  // BRA written lve', kept as lue'
}

TEST(SchemeLoader, LinesOutsideKnownSectionsAndShortLinesAreSilent) {
  const auto loaded = load({
      "stray line before any header\twith a tab",
      "[基本信息]",
      "名称=测试",
      "[内置形码]",
      "//comment\tstill a comment",
      "\\also a comment",
      "",
      "FL\t",
      "\xE3\x80\x80",  // a full-width space alone: one field
      "RHAN\tz",
      "[未知]",
      "xyz\tnot reported",
      "[内置形码]",
      "RHOU\tx",
  });
  EXPECT_TRUE(loaded->messages.requests.empty());
  EXPECT_EQ(loaded->scheme.shapeMap.count(), 2);
  EXPECT_EQ(loaded->scheme.schemeTextPool.count(), 2);
}

TEST(SchemeLoader, FieldsAndRepeatedChords) {
  const auto loaded = load({
      "[特定码]",
      "FL\t是\tshi'\textra",
      "BLOG\t谁 誰\tshui'",
      "DHR\t她",  // no pinyin field: stored with an empty pinyin
      "[内部功能键]",
      "B:B\t略三四",
      "B:B\t数字 5",
      "[声调编码]",
      "RNO\t1",
      "FNO\tsecond",
  });
  const FingeringScheme& scheme = loaded->scheme;
  const TextPool& pool = scheme.schemeTextPool;
  const ChordCodec& codec = scheme.codec;
  EXPECT_TRUE(loaded->messages.requests.empty());
  const auto fl = scheme.specialMap.get(codec.keySetOf("FL"));
  EXPECT_EQ(pool.getText(fl), "是");
  EXPECT_EQ(pool.getText(fl + 1), "shi'");
  EXPECT_EQ(pool.getText(scheme.specialMap.get(codec.keySetOf("BLOG"))), "谁");
  EXPECT_EQ(pool.getText(scheme.specialMap.get(codec.keySetOf("DHR")) + 1), "");
  // The first definition stays; the second's text is still pooled.
  EXPECT_EQ(pool.getText(scheme.functionMap.get(codec.twoAreaCodeOf("B:B"))), "略三四");
  EXPECT_EQ(scheme.functionMap.count(), 1);
  EXPECT_EQ(pool.count(), 6 + 2);
  EXPECT_EQ(scheme.toneMap.get(codec.keySetOf("RNO")), 1);
  EXPECT_EQ(scheme.toneMap.get(codec.keySetOf("FNO")), 0);  // not a number: tone 0, no message
}

TEST(SchemeLoader, EmptyDictionaryReportsEverySyllableLine) {
  const auto loaded = load({"[音节码]", "BA\tba'", "A\ta'", "[内置英文]", "RHA\ta"}, "broken");
  EXPECT_EQ(loaded->messages.requests.size(), 2u);
  EXPECT_EQ(loaded->scheme.syllableMap.count(), 0);
  EXPECT_EQ(loaded->scheme.englishMap.count(), 1);
}

}  // namespace
}  // namespace qiru
