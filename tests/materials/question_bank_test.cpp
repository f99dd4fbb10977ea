// Scanning the question bank: every file at any depth, sorted by its path's
// bytes, shown under its display name, with the item values in step.

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include "materials/question_bank.h"
#include "temp_folder.h"

namespace qiru {
namespace {

TEST(QuestionBank, DisplayNames) {
  struct Case {
    std::string_view relative, shown;
  };
  const Case cases[] = {
      {"基础.txt", "基础"},
      {"6.用户赛题/Lesson1.txt", "6.用户赛题-lesson1"},
      {"Read Me.doc", "read me.doc"},
      {"a/B/Deep.TXT", "a-b-deep"},
      {"copy.txt.txt", "copy"},
      {"notes.txtfile", "notesfile"},  // every ".txt", not only at the end
      {"无扩展名", "无扩展名"},
  };
  for (const Case& c : cases) EXPECT_EQ(displayNameOf(pathFromUtf8(c.relative)), c.shown) << c.relative;
}

TEST(QuestionBank, ScanListsEveryRegularFileSortedByItsPathBytes) {
  TempFolder bank;
  for (const auto* name : {"基础.txt", "6.用户赛题/Lesson1.txt", "Read Me.doc", "a/B/Deep.TXT", "a/b.txt"}) {
    bank.write(name, "x");
  }
  std::filesystem::create_directories(bank.path() / pathFromUtf8("空文件夹"));
#if !defined(_WIN32)
  // A link back up the tree is not followed, and a pipe is not a material.
  // (Windows lets only administrators make links, and has no such pipes.)
  std::filesystem::create_directory_symlink(bank.path(), bank.path() / "a" / "loop");
  ASSERT_EQ(mkfifo((bank.path() / "pipe.txt").c_str(), 0600), 0);
#endif

  QuestionBank questionBank(bank.path());
  int served = 0;
  questionBank.scanQuestionBank([&] { ++served; });
  std::vector<std::string> shown;
  for (const auto& material : questionBank.materials()) shown.push_back(material.displayName);
  // Bytes compare unsigned: digits, capitals, small letters, then Chinese.
  EXPECT_EQ(shown, (std::vector<std::string>{"6.用户赛题-lesson1", "read me.doc", "a-b-deep", "a-b", "基础"}));
  EXPECT_EQ(served, 5) << "once per folder: the bank, 6.用户赛题, a, a/B, 空文件夹";
  EXPECT_EQ(questionBank.pathOf(5), bank.path() / pathFromUtf8("基础.txt"));
  EXPECT_EQ(questionBank.itemValueOf(bank.path() / "Read Me.doc"), 2);
  EXPECT_EQ(questionBank.pathOf(0), std::filesystem::path());
  EXPECT_EQ(questionBank.pathOf(6), std::filesystem::path());

  // A second scan starts afresh.
  std::filesystem::remove(bank.path() / "Read Me.doc");
  questionBank.scanQuestionBank();
  EXPECT_EQ(questionBank.count(), 4);
}

// Chinese names list in the order of their GBK bytes, which for common
// characters is pinyin order; in UTF-8 (code point) order they would not.
TEST(QuestionBank, ChineseNamesListInGbkOrder) {
  struct Case {
    std::vector<std::string_view> files;
    std::vector<std::string_view> shown;
  };
  const Case cases[] = {
      {{"北京.txt", "上海.txt", "阿里.txt", "中国.txt"}, {"阿里", "北京", "上海", "中国"}},
      {{"速录/乙.txt", "速录/甲.txt", "abc.txt", "打字.txt"}, {"abc", "打字", "速录-甲", "速录-乙"}},
  };
  for (const Case& c : cases) {
    TempFolder bank;
    for (const std::string_view name : c.files) bank.write(std::string(name), "x");
    QuestionBank questionBank(bank.path());
    questionBank.scanQuestionBank();
    std::vector<std::string_view> shown;
    for (const auto& material : questionBank.materials()) shown.push_back(material.displayName);
    EXPECT_EQ(shown, c.shown);
  }
}

TEST(QuestionBank, AMissingBankIsAnEmptyList) {
  TempFolder folder;
  QuestionBank questionBank(folder.path() / pathFromUtf8("比赛题库"));
  questionBank.scanQuestionBank();
  EXPECT_EQ(questionBank.count(), 0);
}

}  // namespace
}  // namespace qiru
