#include "match/input_buffer.h"

#include <gtest/gtest.h>

#include <vector>

namespace qiru {
namespace {

TEST(KeepLastItems, KeepsTheNewestItems) {
  struct Case {
    std::string_view text;
    std::int32_t k;
    std::string_view kept;
  };
  for (const Case& c : std::vector<Case>{{"a|b|c", 2, "b|c"},
                                         {"a|b", 2, "a|b"},
                                         {"a", 1, "a"},
                                         {"a|b|c", 1, "c"},
                                         {"a||b|c", 3, "b|c"},  // empty items are not joined again
                                         {"", 2, ""}}) {
    EXPECT_EQ(keepLastItems(c.text, c.k), c.kept) << c.text << " k=" << c.k;
  }
}

struct Stroke {
  KeyEvent event;
  bool checked;
  std::string_view chords;  // the answer after it
};

void play(std::int32_t chordCount, const std::vector<Stroke>& strokes) {
  InputBuffer input;
  for (const Stroke& stroke : strokes) {
    EXPECT_EQ(input.take(stroke.event, chordCount), stroke.checked) << stroke.event;
    EXPECT_EQ(input.chords, stroke.chords) << stroke.event;
  }
}

TEST(InputBuffer, TwoChordEntrySlidesOverTheLastTwoChords) {
  play(2, {{{1, "A:", "a"}, true, "A:"},
           {{1, "X:", "x"}, true, "A:|X:"},
           {{1, "B:", "b"}, true, "X:|B:"},
           {{1, "F:I", "EN"}, false, ""},
           {{1, "A:", "a"}, true, "A:"},
           {{1, "HA:", "BS"}, false, ""}});
}

TEST(InputBuffer, SingleChordEntryTakesOnlyTheLatestChordEvenEnOrBs) {
  play(1, {{{1, "A:", "a"}, true, "A:"}, {{1, "F:I", "EN"}, true, "F:I"}, {{1, "HA:", "BS"}, true, "HA:"}});
  InputBuffer input;
  input.take({1, "AUG:I", "EN"}, 0);  // no entry: as a single chord
  EXPECT_EQ(input.names, "EN");
}

}  // namespace
}  // namespace qiru
