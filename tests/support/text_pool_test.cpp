#include <gtest/gtest.h>

#include "support/byte_io.h"
#include "support/text_pool.h"

namespace qiru {
namespace {

TextPool poolOf(std::initializer_list<std::string_view> texts) {
  TextPool pool;
  for (auto text : texts) EXPECT_TRUE(pool.append(text));
  return pool;
}

TEST(TextPool, NumbersAreOneBasedAndOutsideGivesEmpty) {
  const TextPool pool = poolOf({"a'", "", "锁定"});
  EXPECT_EQ(pool.count(), 3);
  EXPECT_EQ(pool.getText(1), "a'");
  EXPECT_EQ(pool.getText(2), "");
  EXPECT_EQ(pool.getText(3), "锁定");
  EXPECT_EQ(pool.getText(0), "");
  EXPECT_EQ(pool.getText(4), "");
  EXPECT_EQ(pool.getText(-1), "");
}

TEST(TextPool, ByteFormRoundTrip) {
  TextPool big;
  for (int i = 0; i < 5000; ++i) big.append("text number " + std::to_string(i));
  TextPool copy;
  ASSERT_TRUE(copy.deserialise(big.serialise()));
  ASSERT_EQ(copy.count(), 5000);
  EXPECT_EQ(copy.getText(1), "text number 0");
  EXPECT_EQ(copy.getText(5000), "text number 4999");
  EXPECT_EQ(copy.serialise(), big.serialise());
}

TEST(TextPool, ByteFormLayout) {
  std::string expected;
  appendInt32(expected, 2);
  appendInt32(expected, 0);
  appendInt32(expected, 3);
  appendInt32(expected, 5);
  expected.append("ab\0c\0", 5);
  EXPECT_EQ(poolOf({"ab", "c"}).serialise(), expected);
}

TEST(TextPool, DamagedByteFormsAreRefused) {
  const std::string form = poolOf({"ba'", "bai'", "ban'"}).serialise();
  TextPool pool;
  for (std::size_t length = 0; length < form.size(); ++length) {
    EXPECT_FALSE(pool.deserialise(form.substr(0, length))) << length;
    EXPECT_EQ(pool.count(), 0);
  }
  std::string zeroCount = form;
  zeroCount[0] = 0;
  EXPECT_FALSE(pool.deserialise(zeroCount));
  std::string offsetOutside = form;
  offsetOutside[4] = 100;  // first offset far past the arena
  EXPECT_FALSE(pool.deserialise(offsetOutside));
}

TEST(TextPool, UnterminatedLastTextEndsAtTheArena) {
  std::string form;
  appendInt32(form, 1);
  appendInt32(form, 0);
  appendInt32(form, 3);
  form += "abc";  // no zero byte
  TextPool pool;
  ASSERT_TRUE(pool.deserialise(form));
  EXPECT_EQ(pool.getText(1), "abc");
}

}  // namespace
}  // namespace qiru
