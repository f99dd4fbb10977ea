// qiru-steno bank and import, run in-process: the bank listed as the
// window's material box lists it, files imported by the window's rules,
// and a full disk that leaves nothing partial behind.

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/mount.h>
#endif

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "materials/utf8_path.h"
#include "tests/materials/temp_folder.h"
#include "tools/qiru_steno/command.h"

namespace qiru::cli {
extern const Command kBankCommand;
extern const Command kImportCommand;
}  // namespace qiru::cli

namespace qiru {
namespace {

struct CommandRun {
  int status;
  std::string out, err;
};

CommandRun run(const cli::Command& command, const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = command.run(args, out, err);
  return {status, out.str(), err.str()};
}

// A file's path in the bank as the commands print it: with the system's
// separators (backslashes on Windows).
std::string inBank(const std::string& bank, std::string_view file) {
  return utf8Of((pathFromUtf8(bank) / pathFromUtf8(file)).make_preferred());
}

TEST(BankCommands, TheBankIsListedInTheMaterialBoxsOrder) {
  TempFolder root;
  for (const char* name : {"北京.txt", "上海.txt", "阿里.txt", "中国.txt", "6.用户赛题/Lesson1.txt", "abc.txt"}) {
    root.write(std::string("题库/") + name, "x");
  }
  const std::string bank = utf8Of(root.path() / pathFromUtf8("题库"));
  const CommandRun listed = run(cli::kBankCommand, {"--bank", bank});
  EXPECT_EQ(listed.status, 0) << listed.err;
  EXPECT_EQ(listed.out, "6.用户赛题-lesson1\t" + inBank(bank, "6.用户赛题/Lesson1.txt") + "\n" +  //
                            "abc\t" + inBank(bank, "abc.txt") + "\n" +                            //
                            "阿里\t" + inBank(bank, "阿里.txt") + "\n" +                          //
                            "北京\t" + inBank(bank, "北京.txt") + "\n" +                          //
                            "上海\t" + inBank(bank, "上海.txt") + "\n" +                          //
                            "中国\t" + inBank(bank, "中国.txt") + "\n");
}

TEST(BankCommands, WrongCommandLines) {
  TempFolder root;
  const std::string file = utf8Of(root.write("file", "x"));
  const struct {
    const cli::Command& command;
    std::vector<std::string> args;
    int status;
    std::string saying;
  } cases[] = {
      {cli::kBankCommand, {"--bank"}, cli::kUsageError, "--bank needs a folder"},
      {cli::kBankCommand, {"--bank", "a", "--bank", "b"}, cli::kUsageError, "--bank is given twice"},
      {cli::kBankCommand, {"--folder", "a"}, cli::kUsageError, "unknown option \"--folder\""},
      {cli::kBankCommand, {"--bank", file}, 1, "is no folder"},
      {cli::kImportCommand, {"--bank", file}, cli::kUsageError, "name at least one material file"},
  };
  for (const auto& c : cases) {
    const CommandRun done = run(c.command, c.args);
    EXPECT_EQ(done.status, c.status) << done.err;
    EXPECT_NE(done.err.find(c.saying), std::string::npos) << done.err;
  }
}

// One line per file; a file whose content is in the bank already is no
// failure, another content under a taken name is.
TEST(BankCommands, ImportSaysWhatBecameOfEachFile) {
  TempFolder root;
  root.write("题库/1.基础/单音节.txt", "listed");
  const std::string bank = utf8Of(root.path() / pathFromUtf8("题库"));
  const std::string lesson = utf8Of(root.write("下载/速录练习.txt", "第一课"));
  const std::string again = utf8Of(root.write("别处/速录练习.txt", "第一课"));
  const std::string other = utf8Of(root.write("另一处/速录练习.txt", "另一课"));
  const std::string missing = utf8Of(root.path() / pathFromUtf8("没有.txt"));
  const std::string target = inBank(bank, "6.用户赛题/速录练习.txt");

  const CommandRun first = run(cli::kImportCommand, {"--bank", bank, lesson, again});
  EXPECT_EQ(first.status, 0) << first.out;
  EXPECT_EQ(first.out, lesson + ": imported as 6.用户赛题-速录练习 (" + target + ")\n" + again +
                           ": already in the bank as 6.用户赛题-速录练习 (" + target + ")\n");

  const CommandRun refused = run(cli::kImportCommand, {"--bank", bank, other, missing});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.out.find(other + ": not imported: 已存在同名但内容不同的比赛素材！\n"), std::string::npos)
      << refused.out;
  EXPECT_NE(refused.out.find(missing + ": not imported: 导入文件失败！"), std::string::npos) << refused.out;
  EXPECT_EQ(readBytes(pathFromUtf8(target)), "第一课") << "the bank keeps its file";
  EXPECT_NE(run(cli::kBankCommand, {"--bank", bank}).out.find("6.用户赛题-速录练习\t" + target), std::string::npos);
}

// A bank on a disk too small for the file: the import fails and leaves no
// partial file that a later start would list. Needs the right to mount a
// small in-memory file system.
TEST(BankCommands, AFullDiskLeavesNothingPartialBehind) {
#if defined(_WIN32)
  GTEST_SKIP() << "Windows mounts no small in-memory disk for a test";
#else
  TempFolder root;
  const std::filesystem::path disk = root.path() / pathFromUtf8("小盘");
  std::filesystem::create_directories(disk);
  if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
  }
  const std::string bank = utf8Of(disk / pathFromUtf8("题库"));
  std::filesystem::create_directories(disk / pathFromUtf8("题库"));
  const std::string large = utf8Of(root.write("下载/大文件.txt", std::string(256 * 1024, 'x')));
  const std::string small = utf8Of(root.write("下载/小文件.txt", "一二三"));

  const CommandRun full = run(cli::kImportCommand, {"--bank", bank, large, small});
  EXPECT_EQ(full.status, 1);
  EXPECT_NE(full.out.find(large + ": not imported: 导入文件失败！"), std::string::npos) << full.out;
  EXPECT_NE(full.out.find(small + ": imported as 6.用户赛题-小文件"), std::string::npos) << full.out;
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(disk / pathFromUtf8("题库/6.用户赛题"))) {
    left.push_back(utf8Of(entry.path().filename()));
  }
  EXPECT_EQ(left, std::vector<std::string>{"小文件.txt"});
  EXPECT_EQ(run(cli::kBankCommand, {"--bank", bank}).out, "6.用户赛题-小文件\t" + inBank(bank, "6.用户赛题/小文件.txt") + "\n");
  ::umount(disk.c_str());
#endif
}

}  // namespace
}  // namespace qiru
