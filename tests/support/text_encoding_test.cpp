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

TEST(TextEncoding, BrokenBytesNeverStopAConversion) {
  // A lone lead byte in the middle and a cut-off character at the end.
  EXPECT_EQ(gbkToUtf8("a\x81\x7F" "b\xB4"), "a\xEF\xBF\xBD\x7F" "b\xEF\xBF\xBD");
  // A character GBK cannot hold becomes one "?".
  EXPECT_EQ(utf8ToGbk("x\xF0\x9F\x98\x80y"), "x?y");
  EXPECT_EQ(utf8ToGbk("\xFF"), "?");
}

}  // namespace
}  // namespace qiru
