#include <gtest/gtest.h>

#include "steno/builtin_scheme.h"
#include "steno/syllable_dictionary.h"
#include "support/byte_io.h"

namespace qiru {
namespace {

class SyllableDictionaryTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(loadSyllableDictionary(builtinSyllableDictionaryBlock(), dictionary)); }
  SyllableDictionary dictionary;
};

TEST_F(SyllableDictionaryTest, BuiltInBlockHoldsTheListedSyllables) {
  EXPECT_EQ(dictionary.syllableCount, 414);
  EXPECT_EQ(dictionary.secondCount, 1582);
  EXPECT_EQ(dictionary.initialCount, 24);
  EXPECT_EQ(dictionary.finalCount, 33);
  EXPECT_EQ(dictionary.syllables.count(), 414);
  EXPECT_EQ(dictionary.syllables.getText(1), "a'");
  EXPECT_EQ(dictionary.syllables.getText(412), "zuo'");
  EXPECT_EQ(dictionary.syllables.getText(414), "rua'");
  EXPECT_EQ(dictionary.initials.getText(1), "0");
  EXPECT_EQ(dictionary.finals.getText(33), "v");
  // Every listed syllable finds its own number.
  for (std::int32_t n = 1; n <= 414; ++n) {
    ASSERT_EQ(syllableNumber(dictionary, dictionary.syllables.getText(n)), n) << n;
  }
}

TEST_F(SyllableDictionaryTest, PartIndexGivesInitialAndFinal) {
  struct Case {
    std::string_view key, initial, final;
  };
  for (const Case c : {Case{"ba'", "b", "a"}, {"zhuang'", "zh", "uang"}, {"er'", "0", "er"},
                       {"lv'", "l", "v"}, {"yai'", "y", "ai"}, {"jiong'", "j", "iong"}}) {
    const std::string key(c.key);
    EXPECT_EQ(dictionary.initials.getText(dictionary.partIndex.get(key + "1")), c.initial) << c.key;
    EXPECT_EQ(dictionary.finals.getText(dictionary.partIndex.get(key + "2")), c.final) << c.key;
  }
}

TEST_F(SyllableDictionaryTest, SyllableNumbersOfWrittenSpellings) {
  struct Case {
    std::string_view written;
    std::int32_t number;  // 0: no number
  };
  const Case cases[] = {
      {"a'", 1},   {"ba", 6},    {"ba'", 6},   {"ju'", 143}, {"jv'", 143}, {"lv'", 187},
      {"lve'", 189}, {"lve", 189}, {"lue'", 189}, {"nv'", 231}, {"nve'", 233}, {"nue'", 233},
      {"yu'", 372}, {"yv", 372},   {"zuo'", 412}, {"yai'", 413}, {"rua'", 414},
      {"jve'", 0},  {"BA'", 0},    {"ba''", 0},  {"", 0},      {"'", 0},     {"zzz'", 0},
  };
  for (const Case& c : cases) {
    const std::int32_t number = syllableNumber(dictionary, c.written);
    if (c.number > 0) {
      EXPECT_EQ(number, c.number) << c.written;
    } else {
      EXPECT_LE(number, 0) << c.written;
    }
  }
}

TEST(SyllableDictionaryBlock, ChecksumMismatchOrDamageLeavesItEmpty) {
  const std::string good(builtinSyllableDictionaryBlock());
  SyllableDictionary dictionary;
  std::string badChecksum = good;
  badChecksum[0] ^= 1;
  EXPECT_FALSE(loadSyllableDictionary(badChecksum, dictionary));
  EXPECT_TRUE(dictionary.empty());
  EXPECT_LE(syllableNumber(dictionary, "ba'"), 0);

  // Truncations fail the checksum; damage behind a recomputed checksum must
  // still be refused by the unpacker or the component reader.
  for (std::size_t length : {0u, 3u, 4u, 12u, 200u}) {
    EXPECT_FALSE(loadSyllableDictionary(good.substr(0, length), dictionary)) << length;
  }
  for (std::size_t at = 4; at < good.size(); at += 37) {
    std::string damaged = good.substr(4);
    damaged[at - 4] ^= 0x10;
    std::string block;
    appendInt32(block, blockChecksum(damaged));
    block += damaged;
    if (!loadSyllableDictionary(block, dictionary)) {
      EXPECT_TRUE(dictionary.empty()) << at;
    }
  }
}

}  // namespace
}  // namespace qiru
