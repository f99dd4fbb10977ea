// qiru-steno replay: logs that cannot be reached end with a message and
// status 1, and a log may start at any time from 0.

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "materials/utf8_path.h"
#include "tests/materials/temp_folder.h"
#if !defined(_WIN32)
#include "tests/support/without_file_powers.h"
#endif
#include "tools/qiru_steno/command.h"

namespace qiru::cli {
extern const Command kReplayCommand;
}  // namespace qiru::cli

namespace qiru {
namespace {

struct ReplayRun {
  int status;
  std::string out, err;
};

ReplayRun replay(const std::filesystem::path& log) {
  std::ostringstream out, err;
  const int status = cli::kReplayCommand.run({utf8Of(log)}, out, err);
  return {status, out.str(), err.str()};
}

TEST(ReplayCommand, PathsThatLeadToNoLogAreRefusedWithAMessage) {
  TempFolder folder;
  struct Case {
    std::filesystem::path log;
    std::string saying;
  };
  std::vector<Case> cases = {
      {folder.path(), "is a folder"},
      {folder.path() / "missing.log", "cannot open"},
  };
#if !defined(_WIN32)
  // Links that go round in a circle, a folder the user may not open and a
  // named pipe: what a Linux desktop can put in the way. (Windows lets only
  // administrators make links, and has neither of the others.)
  std::filesystem::create_symlink(folder.path() / "b.log", folder.path() / "a.log");
  std::filesystem::create_symlink(folder.path() / "a.log", folder.path() / "b.log");
  const auto hidden = folder.write("closed/machine1.log", "1000 00\n");
  std::filesystem::permissions(folder.path() / "closed", std::filesystem::perms::none);
  ASSERT_EQ(::mkfifo((folder.path() / "pipe.log").c_str(), 0600), 0);
  cases.push_back({folder.path() / "a.log", "cannot reach"});
  cases.push_back({hidden, "cannot reach"});
  cases.push_back({folder.path() / "pipe.log", "is no file"});
  const testing::WithoutFilePowers asDesktopUser;
#endif
  for (const auto& c : cases) {
    const ReplayRun run = replay(c.log);
    EXPECT_EQ(run.status, 1) << c.log;
    EXPECT_NE(run.err.find(c.saying), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
  }
#if !defined(_WIN32)
  std::filesystem::permissions(folder.path() / "closed", std::filesystem::perms::owner_all);
#endif
}

// Logs that start before the replay's lead-in time: they play as any other
// (once this waited for ever, its clock started below 0).
TEST(ReplayCommand, ALogMayStartAtAnyTimeFromZero) {
  TempFolder folder;
  const std::string chord = " 07 FE FF FF FF 39 30 00\n";  // key 1 down
  const std::string released = " 07 FF FF FF FF 39 30 00\n";
  for (const std::string_view first : {"0", "1", "999", "1000", "123456789"}) {
    const std::int64_t start = std::stoll(std::string(first));
    const auto log = folder.write("machine1.log", std::to_string(start) + chord + std::to_string(start + 60) + released);
    const ReplayRun run = replay(log);
    EXPECT_EQ(run.status, 0) << first << ": " << run.err;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << first << ": " << run.out;
  }
  const ReplayRun nothing = replay(folder.write("quiet.log", "999 00\n"));
  EXPECT_EQ(nothing.status, 0) << nothing.err;
  EXPECT_TRUE(nothing.out.empty());
}

}  // namespace
}  // namespace qiru
