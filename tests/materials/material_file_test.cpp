// Reading material files from disk as a match start does: GBK bytes up to
// the first zero byte, and a file that cannot be read.

#include <gtest/gtest.h>

#include "materials/material_file.h"
#include "materials/utf8_path.h"
#include "support/headless_messages.h"
#include "support/text_encoding.h"
#include "temp_folder.h"

namespace qiru {
namespace {

const std::string kFiveWordsUtf8 =
    "北京\tBOG:IBDNG\r\n上海\tBLANG:IHA\r\n中国\tIBHO:HLO\r\n时间\tIBL:IBDAN\r\n改革开放\tIHLA:HL|IRFA:FANG\r\n";

TEST(MaterialFile, GbkFileIsReadAsTextUpToItsFirstZeroByte) {
  TempFolder folder;
  const auto file = folder.write("素材.txt", utf8ToGbk(kFiveWordsUtf8) + std::string(1, '\0') + "后面\tAB:FL\r\n");
  EXPECT_EQ(readMaterialFile(file), kFiveWordsUtf8);

  HeadlessMessages messages;
  MaterialSet set(&messages);
  EXPECT_TRUE(loadMaterialFile(set, file, 10, &messages));
  EXPECT_EQ(set.Count(), 10);
  EXPECT_TRUE(messages.records().empty());
}

TEST(MaterialFile, Utf16FileEndsAtItsFirstZeroByteAndHasTooFewEntries) {
  TempFolder folder;
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("RHA\tAB:FL\r\nRHA\tAB:FL\r\n")) (utf16 += c) += '\0';
  const auto file = folder.write("utf16.txt", utf16);
  HeadlessMessages messages;
  MaterialSet set(&messages);
  EXPECT_FALSE(loadMaterialFile(set, file, 50, &messages));
  ASSERT_EQ(messages.records().size(), 1u);
  EXPECT_EQ(messages.records()[0].request.text, "指定比赛素材合法条目低于5条！");
}

TEST(MaterialFile, AFileThatCannotBeReadIsReportedWithItsPath) {
  TempFolder folder;
  for (const auto& path : {folder.path() / pathFromUtf8("不存在.txt"), folder.path()}) {
    HeadlessMessages messages;
    MaterialSet set(&messages);
    ASSERT_TRUE(set.Parse(kFiveWordsUtf8, 5));
    EXPECT_FALSE(readMaterialFile(path).has_value()) << path;
    EXPECT_FALSE(loadMaterialFile(set, path, 5, &messages));
    EXPECT_EQ(set.Count(), 0) << "nothing of the previous material is left to play";
    ASSERT_EQ(messages.records().size(), 1u);
    EXPECT_EQ(messages.records()[0].request.caption, "错误：");
    EXPECT_NE(messages.records()[0].request.text.find(utf8Of(path)), std::string::npos);
  }
}

// A file larger than any material (a wrong choice) is refused before it is
// read, and the box says so; one just within the bound is read.
TEST(MaterialFile, AFileLargerThanAMaterialMayBeIsRefusedBySize) {
  TempFolder folder;
  const auto within = folder.write("within.txt", "");
  std::filesystem::resize_file(within, kMaxMaterialBytes);
  EXPECT_TRUE(readMaterialFile(within).has_value());
  const auto huge = folder.write("huge.txt", "");
  std::filesystem::resize_file(huge, kMaxMaterialBytes + 1);
  EXPECT_FALSE(readMaterialFile(huge).has_value());
  HeadlessMessages messages;
  MaterialSet set(&messages);
  EXPECT_FALSE(loadMaterialFile(set, huge, 5, &messages));
  ASSERT_EQ(messages.records().size(), 1u);
  EXPECT_EQ(messages.records()[0].request.text, "比赛素材文件太大（超过16MB）：\r\n" + utf8Of(huge) +
                                                    "\r\n比赛素材是几百KB以内的文本文件，请检查是否选错了文件。");
}

}  // namespace
}  // namespace qiru
