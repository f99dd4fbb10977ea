// The sibling guard finds the sibling by its executable's name, in any
// letter case; the user's Yes ends it and the start goes on, No ends the
// start and leaves the sibling alone.

#include "app/process_guard.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "app/startup_guards.h"
#include "support/headless_messages.h"

namespace qiru::app {
namespace {

namespace fs = std::filesystem;

TEST(ProcessGuardTest, SiblingNamesInAnyCaseAndPath) {
  const struct {
    const char* path;
    bool sibling;
  } cases[] = {
      {"QiruStenoMain.exe", true},
      {"C:\\Program Files\\Qirui\\qirustenomain.EXE", true},
      {"/opt/qirui/QIRUSTENOMAIN", true},
      {"QiruStenoMain.exe.bak", false},
      {"QiruSteno", false},
      {"qiru-pk", false},
  };
  for (const auto& c : cases) EXPECT_EQ(isSiblingExecutable(c.path), c.sibling) << c.path;
}

// A program named as the sibling (in other letter case), running for the
// test's length; the test reaps it.
class RunningSibling : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(findSiblingProcess()) << "a sibling already runs on this machine";
    fs::create_directories(dir_);
    fs::copy_file("/bin/sleep", dir_ / "qirustenomain.EXE", fs::copy_options::overwrite_existing);
    child_ = startSibling();
  }
  void TearDown() override {
    for (const pid_t child : started_) ::kill(child, SIGKILL);
    for (std::thread& reaper : reapers_) reaper.join();
    fs::remove_all(dir_);
  }

  // Starts one more sibling; it is found before this returns.
  pid_t startSibling() {
    const fs::path sibling = dir_ / "qirustenomain.EXE";
    const pid_t child = ::fork();
    if (child == 0) {
      ::execl(sibling.c_str(), sibling.c_str(), "30", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    const auto found = [child] {
      std::error_code ignored;
      return fs::read_symlink("/proc/" + std::to_string(child) + "/exe", ignored).filename() == "qirustenomain.EXE";
    };
    for (int i = 0; i < 100 && !found(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    started_.push_back(child);
    reapers_.emplace_back([child] { ::waitpid(child, nullptr, 0); });
    return child;
  }

  fs::path dir_ = fs::temp_directory_path() / ("qiru-sibling-" + std::to_string(::getpid()));
  pid_t child_ = 0;
  std::vector<pid_t> started_;
  std::vector<std::thread> reapers_;
};

TEST_F(RunningSibling, IsFoundAndEnded) {
  ASSERT_EQ(findSiblingProcess(), std::optional<ProcessId>(child_));
  EXPECT_TRUE(terminateProcess(child_));
  EXPECT_FALSE(findSiblingProcess());
}

TEST_F(RunningSibling, NoEndsTheStartAndLeavesTheSiblingAlone) {
  HeadlessMessages messages(nullptr, answerAlways(AnswerNo));
  EXPECT_FALSE(passSiblingGuard(messages));
  ASSERT_EQ(messages.records().size(), 1u);
  EXPECT_EQ(messages.records()[0].request.caption, kSiblingCaption);
  EXPECT_EQ(messages.records()[0].request.buttons, MessageButtons::YesNo);
  EXPECT_TRUE(messages.records()[0].request.topmost);
  EXPECT_EQ(findSiblingProcess(), std::optional<ProcessId>(child_));
}

TEST_F(RunningSibling, YesEndsTheSiblingAndTheStartGoesOn) {
  HeadlessMessages messages(nullptr, answerAlways(AnswerYes));
  EXPECT_TRUE(passSiblingGuard(messages));
  EXPECT_FALSE(findSiblingProcess());
}

// While the box waits for the user, the sibling ends and starts again as
// another process: the one running when the user answers is ended, not
// the process id seen before the box.
TEST_F(RunningSibling, YesEndsTheSiblingRunningWhenTheUserAnswers) {
  pid_t restarted = 0;
  HeadlessMessages messages(nullptr, [&](const MessageRequest&) {
    ::kill(child_, SIGKILL);
    for (int i = 0; i < 100 && ::kill(child_, 0) == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    restarted = startSibling();
    return AnswerYes;
  });
  EXPECT_TRUE(passSiblingGuard(messages));
  EXPECT_NE(restarted, 0);
  EXPECT_FALSE(findSiblingProcess()) << "the sibling started while the box was up still runs";
}

}  // namespace
}  // namespace qiru::app
