#include "support/headless_messages.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/message_boxes.h"
#include "support/virtual_clock.h"

namespace qiru {
namespace {

TEST(HeadlessMessages, TimedBoxesAreTopmostAndCloseByThemselves) {
  struct Case {
    bool useTimeout;
    int timeoutMs;
    int expectedTimeoutMs;
  };
  for (const Case& c : {Case{true, 10000, 10000}, Case{true, 5000, 5000}, Case{false, 10000, 3000}}) {
    VirtualClock clock(0);
    HeadlessMessages messages(nullptr, answerUnattended, &clock);
    const int answer = showTimedMessage(messages, "机器连接失败", {MessageButtons::Ok, MessageIcon::Error},
                                        "错误信息：", MessageOwner::MainWindow, c.useTimeout, c.timeoutMs);
    EXPECT_EQ(answer, AnswerTimedOut);
    const std::vector<HeadlessMessages::Record> records = messages.records();
    ASSERT_EQ(records.size(), 1u);
    const MessageRequest& shown = records[0].request;
    EXPECT_TRUE(shown.topmost);
    EXPECT_EQ(shown.owner, MessageOwner::MainWindow);
    EXPECT_EQ(shown.caption, "错误信息：");
    EXPECT_EQ(shown.timeoutMs, c.expectedTimeoutMs);
    EXPECT_EQ(clock.nowMs(), c.expectedTimeoutMs) << "the box kept its caller until it closed";
  }
}

TEST(HeadlessMessages, QuestionsAreAnsweredByThePolicyWithButtonCodes) {
  struct Case {
    AnswerPolicy policy;
    int expected;
  };
  for (const Case& c : {Case{answerUnattended, 5}, Case{answerAlways(AnswerNo), 6}}) {
    VirtualClock clock(0);
    HeadlessMessages messages(nullptr, c.policy, &clock);
    const int answer = showMessageBox(messages, "是否关闭主程序？", {MessageButtons::YesNo, MessageIcon::Warning},
                                      "重要提示：", MessageOwner::MainWindow);
    EXPECT_EQ(answer, c.expected);
    EXPECT_EQ(messages.records().at(0).request.timeoutMs, 0) << "a question waits for its answer";
    EXPECT_EQ(clock.nowMs(), 0);
  }
}

TEST(HeadlessMessages, PrintsEachBoxOnOneLine) {
  std::ostringstream out;
  HeadlessMessages messages(&out);
  showTimedMessage(messages, "本程序已在运行中，请勿重复启动！\r\n如该程序运行不正常", {}, "提示",
                   MessageOwner::MainWindow, true, 10000);
  showMessageBox(messages, "继续？", {MessageButtons::YesNo, MessageIcon::Question}, "重要提示：",
                 MessageOwner::None);
  EXPECT_EQ(out.str(),
            "message [提示] 本程序已在运行中，请勿重复启动！ / 如该程序运行不正常 {OK, closes after 10000 ms}"
            " -> timed out\n"
            "message [重要提示：] 继续？ {Yes/No} -> Yes\n");
}

}  // namespace
}  // namespace qiru
