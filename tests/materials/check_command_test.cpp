// qiru-steno check: what a material author reads for good and broken files,
// and the exit status a script can test.

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include <sstream>
#include <vector>

#include "materials/material_file.h"

#include "materials/utf8_path.h"
#include "support/text_encoding.h"
#include "temp_folder.h"
#include "tools/qiru_steno/command.h"

namespace qiru::cli {
extern const Command kCheckCommand;
}  // namespace qiru::cli

namespace qiru {
namespace {

const std::string kFiveWords =
    "北京\tBOG:IBDNG\r\n上海\tBLANG:IHA\r\n中国\tIBHO:HLO\r\n时间\tIBL:IBDAN\r\n我们\tO:BFN\r\n";

struct CheckRun {
  int status;
  std::string out, err;
};

CheckRun check(const std::vector<std::string>& files) {
  std::ostringstream out, err;
  const int status = cli::kCheckCommand.run(files, out, err);
  return {status, out.str(), err.str()};
}

TEST(CheckCommand, GoodFilesGiveTheirLegalEntryCounts) {
  TempFolder folder;
  const auto good = utf8Of(folder.write("good.txt", utf8ToGbk(kFiveWords + "坏\tAB\r\n")));
  const auto utf8 = utf8Of(folder.write("utf8.txt", kFiveWords));
  const CheckRun run = check({good, utf8});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, good + ":\n错误行\n错误设置条目：第6行\n坏\tAB\n" + good + ": 5 legal entries\n" + utf8 +
                         ": 5 legal entries; but it looks like UTF-8, and the program reads GBK: its texts will"
                         " show garbled, save it as GBK (ANSI) text\n");
}

TEST(CheckCommand, BrokenFilesAreReportedAsTheirBoxesWouldShowThem) {
  TempFolder folder;
  std::string lfOnly = utf8ToGbk(kFiveWords);
  std::erase(lfOnly, '\r');
  const auto lf = utf8Of(folder.write("lf.txt", lfOnly));
  const auto missing = utf8Of(folder.path() / "missing.txt");
  const CheckRun run = check({lf, missing});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, lf + ":\n错误行\n指定比赛素材合法条目低于5条！\n" + lf +
                         ": a match cannot start with this material; its lines end with LF alone, so it reads"
                         " as one line: save it with CR LF line ends\n" +
                         missing + ":\n错误：\n无法读取比赛素材文件：\n" + missing + "\n请检查文件是否存在、能否打开。\n" +
                         missing + ": a match cannot start with this material\n");
}

// Names that are no material file: each gets its message and a hint, the
// check goes on to the next and ends with status 1; nothing aborts or
// waits for a writer that never comes.
TEST(CheckCommand, FoldersPipesAndHugeFilesAreRefusedWithAMessage) {
  TempFolder folder;
  std::filesystem::create_directories(folder.path() / pathFromUtf8("题库"));
  const std::string huge = utf8Of(folder.path() / "huge.txt");
  std::filesystem::resize_file(folder.write("huge.txt", kFiveWords), kMaxMaterialBytes + 1);
  struct Case {
    std::string file;
    std::string_view message, hint;
  };
  std::vector<Case> cases = {
      {utf8Of(folder.path() / pathFromUtf8("题库")), "无法读取比赛素材文件", "; it is a folder"},
      {huge, "比赛素材文件太大（超过16MB）", ""},
  };
#if !defined(_WIN32)
  // Windows has no named pipes among the files of a folder.
  const std::string pipe = utf8Of(folder.path() / "pipe.txt");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  cases.push_back({pipe, "无法读取比赛素材文件", "; it is no regular file"});
#endif
  for (const auto& c : cases) {
    const CheckRun run = check({c.file, utf8Of(folder.write("good.txt", utf8ToGbk(kFiveWords)))});
    EXPECT_EQ(run.status, 1) << c.file;
    EXPECT_NE(run.out.find(c.message), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(c.file + ": a match cannot start with this material" + std::string(c.hint)),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("good.txt: 5 legal entries"), std::string::npos) << "the check goes on: " << run.out;
  }
}

TEST(CheckCommand, NoFileIsAUsageError) {
  const CheckRun run = check({});
  EXPECT_EQ(run.status, cli::kUsageError);
  EXPECT_TRUE(run.out.empty());
  EXPECT_NE(run.err.find("name at least one material file"), std::string::npos);
}

}  // namespace
}  // namespace qiru
