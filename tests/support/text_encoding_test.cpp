#include <gtest/gtest.h>

#include "support/text_encoding.h"

namespace qiru {
namespace {

TEST(TextEncoding, GbkRoundTrip) {
  const std::string utf8 = "错误定义行：\r\n[音节码]\tba'";
  const std::string gbk = utf8ToGbk(utf8);
  EXPECT_EQ(gbk.substr(0, 2), "\xB4\xED");  // 错
  EXPECT_EQ(gbkToUtf8(gbk), utf8);
}

TEST(TextEncoding, TrailBytesWithAsciiValuesStayInTheirCharacter) {
  // 0x81 0x5C and 0x81 0x40: the trail bytes read as "\\" and "@" alone.
  const std::string gbk = "a\x81\x5C" "b\x81\x40\x81\x5C";
  const std::string utf8 = gbkToUtf8(gbk);
  EXPECT_EQ(utf8.find('\\'), std::string::npos);
  EXPECT_EQ(utf8.find('@'), std::string::npos);
  EXPECT_EQ(utf8ToGbk(utf8), gbk);
}

TEST(TextEncoding, BrokenBytesNeverStopAConversion) {
  // A lone lead byte in the middle and a cut-off character at the end.
  EXPECT_EQ(gbkToUtf8("a\x81\x7F" "b\xB4"), "a\xEF\xBF\xBD\x7F" "b\xEF\xBF\xBD");
  // A character GBK cannot hold becomes one "?".
  EXPECT_EQ(utf8ToGbk("x\xF0\x9F\x98\x80y"), "x?y");
  EXPECT_EQ(utf8ToGbk("\xFF"), "?");
}

}  // namespace
}  // namespace qiru
