// Which chords the window marks as wrong: those that neither answer the
// entry nor lead towards its code.

#include "match/chord_judgement.h"

#include <gtest/gtest.h>

namespace qiru {
namespace {

struct Case {
  const char* pending;
  const char* answer;
  bool continues;
};

TEST(ChordJudgement, AChordIsRightWhenItsPendingChordsBeginTheAnswer) {
  const Case cases[] = {
      {"A:", "A:", true},            // answers a one-chord entry
      {"X:", "A:", false},           // a slip on a one-chord entry
      {"A:", "A:|H:", true},         // the first of two
      {"A:|H:", "A:|H:", true},      // both
      {"A:|X:", "A:|H:", false},     // a slip after a good start
      {"X:|A:", "A:|H:", true},      // starting again after the slip
      {"H:", "A:|H:", false},        // the second chord first
      {"A:|A:", "A:|H:", true},      // the first chord again: a new start
      {"A:|H:|N:", "A:|H:|N:", true},
      {"H:|N:", "A:|H:|N:", false},  // the end of the code, its start forgotten
      {"A:", "", false},             // no entry to answer
  };
  for (const Case& c : cases) {
    EXPECT_EQ(continuesAnswer(c.pending, c.answer), c.continues) << c.pending << " for " << c.answer;
  }
}

}  // namespace
}  // namespace qiru
