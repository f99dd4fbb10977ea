#include <gtest/gtest.h>

#include "steno/chord_codec.h"

namespace qiru {
namespace {

TEST(ChordCodec, OneAreaKeySets) {
  const ChordCodec codec;
  struct Case {
    std::string_view text;
    KeySet keySet;
  };
  for (const Case c : {Case{"BRA", 1029}, {"RAB", 1029}, {"ABRB", 1029}, {"R", 1}, {"I", 4096},
                       {"RHANVFLUOGBDI", 8191}, {"xyz", 0}, {"", 0}, {"ba'", 0}, {"B-A", 1028}}) {
    EXPECT_EQ(codec.keySetOf(c.text), c.keySet) << c.text;
  }
}

TEST(ChordCodec, TwoAreaCodes) {
  const ChordCodec codec;
  struct Case {
    std::string_view text;
    TwoAreaCode code;
  };
  const Case cases[] = {
      {"IF:", 4128},
      {":IF", 4128 << 16},
      {"IF:IF", 4128 | (4128 << 16)},
      {"A:B:C", -1},
      {"AB", 0},
      {"A:B:", 4 | 1024},  // left form: the inner colon is just another non-key byte
      {":A:B", (4 | 1024) << 16},
      {":", 0},
      {"xy:", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(codec.twoAreaCodeOf(c.text), c.code) << c.text;
}

TEST(ChordCodec, LettersInBitOrder) {
  const ChordCodec codec;
  EXPECT_EQ(codec.lettersOf(1029), "RAB");
  EXPECT_EQ(codec.lettersOf(0), "");
  EXPECT_EQ(codec.codeText(codec.twoAreaCodeOf("BA:LF")), "AB:FL");
  EXPECT_EQ(codec.codeText(codec.twoAreaCodeOf(":I")), ":I");
}

TEST(ChordCodec, CanonicalNotation) {
  const ChordCodec codec;
  struct Case {
    std::string_view written, canonical;
  };
  const Case cases[] = {
      {"", ""},
      {"BRA", "RAB"},
      {"xyz", "xyz"},
      {"IFL:IFL", "FLI:FLI"},
      {":I", ":I"},
      {"RNO:", "RNO:"},
      {" B A : L F ", "AB:FL"},
      {"A:B:C", "A:B"},  // a third part is dropped
      {"x y:FL", "xy:FL"},
      {":", ":"},
  };
  for (const Case& c : cases) EXPECT_EQ(codec.canonicalChord(c.written), c.canonical) << c.written;
  EXPECT_EQ(codec.canonicalList("IFL:IFL|BRA||:I"), "FLI:FLI|RAB||:I");
}

}  // namespace
}  // namespace qiru
