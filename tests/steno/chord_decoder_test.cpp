// What the built-in scheme makes of chords, written as the code text a
// player would read ("BA:FL": left-hand keys, a colon, right-hand keys).

#include <gtest/gtest.h>

#include <thread>

#include "steno/builtin_scheme.h"
#include "steno/chord_decoder.h"

namespace qiru {
namespace {

class ChordDecoderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scheme_ = new FingeringScheme;
    loadFingeringScheme(*scheme_, builtinFingeringSchemeText(), builtinSyllableDictionaryBlock(), nullptr);
  }
  static void TearDownTestSuite() { delete scheme_; }

  static std::pair<std::string, std::string> decode(const FingeringScheme& scheme, std::string_view chord) {
    const TwoAreaCode code = ChordCodec().twoAreaCodeOf(chord);
    std::string codeText = "stale";
    std::string output = decodeChord(scheme, leftKeySetOf(code), rightKeySetOf(code), code, codeText);
    return {codeText, output};
  }

  static FingeringScheme* scheme_;
};

FingeringScheme* ChordDecoderTest::scheme_ = nullptr;

TEST_F(ChordDecoderTest, DecodesByTheSchemesLookupOrder) {
  struct Case {
    std::string_view chord, codeText, output;
  };
  const Case cases[] = {
      {"BA:FL", "AB:FL", "ba':是"},
      {":I", ":I", "EN"},                // forward map
      {"IFL:IFL", "FLI:FLI", "锁定"},     // function map before each hand's meaning
      {"RNO:", "RNO:", "1:"},            // tone
      {":RNO", ":RNO", ":1"},
      {":", ":", ":"},                   // no keys at all
      {"RHNV:", "RHNV:", "RHNV:"},       // no table knows it: the letters
      {"BA:", "AB:", "ba':"},
      {":FL", ":FL", ":是"},
      {"FL:", "FL:", "是:"},              // a special code gives its characters
      {"BA:BA", "AB:AB", "ba':ba'"},
      {"FUOG:FUOG", "FUOG:FUOG", "词前左:词前右"},  // each hand's own function map
      {"B:B", "B:B", "略三四"},          // the first of two definitions
      {":UO", ":UO", "SP"},              // repeat map
      {":HA", ":HA", "BS"},
      {"F:I", "F:I", "EN"},              // repeat map, before the forward map
      {"B:I", "B:I", "EN"},
      {"RHAN:", "RHAN:", "z:"},          // shape code
      {":RHIA", ":RHAI", ":A"},          // English letter
      {"BOG:IBDNG", "OGB:NGBDI", "bei':jing'"},
      {"BD:", "BD:", "ji':"},
      {"ILU:", "LUI:", "lv':"},
  };
  for (const Case& c : cases) {
    const auto [codeText, output] = decode(*scheme_, c.chord);
    EXPECT_EQ(codeText, c.codeText) << c.chord;
    EXPECT_EQ(output, c.output) << c.chord;
  }
}

TEST_F(ChordDecoderTest, EmptyTablesGiveTheLetters) {
  const FingeringScheme empty;
  EXPECT_EQ(decode(empty, "BA:FL"), std::make_pair(std::string("AB:FL"), std::string("AB:FL")));
  EXPECT_EQ(decode(empty, ":I"), std::make_pair(std::string(":I"), std::string(":I")));
}

TEST_F(ChordDecoderTest, PublishedSchemeReachesOtherThreadsWhole) {
  // Before publication every thread decodes against empty tables; after it,
  // against the complete scheme.
  const FingeringScheme& before = currentScheme();
  EXPECT_EQ(decode(before, "BA:FL").second, "AB:FL");
  loadFingeringScheme(nullptr);
  std::string seen;
  std::thread reader([&] { seen = decode(currentScheme(), "BA:FL").second; });
  reader.join();
  EXPECT_EQ(seen, "ba':是");
}

}  // namespace
}  // namespace qiru
