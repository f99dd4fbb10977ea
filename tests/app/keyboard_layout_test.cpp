#include "app/keyboard_layout.h"

#include <gtest/gtest.h>

#include <Qt>
#include <set>

#include "steno/chord_codec.h"

namespace qiru::app {
namespace {

// The chord text of the keys, as the decoder writes it.
std::string chordOf(std::initializer_list<int> qtKeys) {
  PressedKeys keys;
  for (const int key : qtKeys) pressKey(keys, *machineKeyOf(key), true);
  return ChordCodec().codeText(makeTwoAreaCode(keys.left, keys.right));
}

TEST(KeyboardLayoutTest, TheMatchKeysAreWhereTheHelpSaysTheyAre) {
  EXPECT_EQ(chordOf({Qt::Key_Comma}), ":I") << "the start key";
  EXPECT_EQ(chordOf({Qt::Key_A, Qt::Key_Comma}), "F:I") << "the confirm key EN";
  EXPECT_EQ(chordOf({Qt::Key_Q, Qt::Key_P}), "R:R") << "the rows are mirrored";
  EXPECT_EQ(chordOf({Qt::Key_Colon}), chordOf({Qt::Key_Semicolon})) << "Shift does not move a key";
}

TEST(KeyboardLayoutTest, ThirteenDistinctKeysPerHand) {
  std::set<std::pair<int, int>> keys;
  for (int qtKey = Qt::Key_Space; qtKey <= Qt::Key_AsciiTilde; ++qtKey) {
    if (const auto key = machineKeyOf(qtKey)) keys.insert({static_cast<int>(key->hand), key->bit});
  }
  EXPECT_EQ(keys.size(), 26u);
  EXPECT_FALSE(machineKeyOf(Qt::Key_1)) << "digits stay free for the option boxes";
}

TEST(KeyboardLayoutTest, ReleasingAKeyLeavesTheOthersHeld) {
  PressedKeys keys;
  pressKey(keys, *machineKeyOf(Qt::Key_A), true);
  pressKey(keys, *machineKeyOf(Qt::Key_S), true);
  pressKey(keys, *machineKeyOf(Qt::Key_A), false);
  EXPECT_EQ(keys.left, 1 << 6) << "L stays down";
  EXPECT_EQ(keys.right, 0);
}

}  // namespace
}  // namespace qiru::app
