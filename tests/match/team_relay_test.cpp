// The team relay over whole rounds in virtual time.

#include <gtest/gtest.h>

#include "match/result_texts.h"
#include "tests/match/match_rig.h"

namespace qiru {
namespace {

using ui::Control;

class TeamRelay : public testing::MatchRig {
 protected:
  // One member's round: red and blue answer so many entries each, the rest
  // time out; then the result.
  void playMember(int redAnswers, int blueAnswers) {
    machines.reportBothIn();
    key(1, ":I");
    ASSERT_EQ(engine.state(), MatchState::Running);
    for (int i = 0; i < redAnswers; ++i) answer(1);
    for (int i = 0; i < blueAnswers; ++i) answer(2);
    waitFor(MatchState::ResultShown);
  }
};

TEST_F(TeamRelay, TwoMembersAddUpToTheTeamResult) {
  model.setCurrentPage(Control::选择夹_模式, static_cast<int>(MatchMode::TeamRelay));
  model.setText(Control::编辑框_团队人数, "2");
  model.setText(Control::编辑框_团队条数, "10");
  playMember(5, 3);
  EXPECT_EQ(model.text(Control::标签_局成绩), "5：3  本局红方获胜！");
  EXPECT_TRUE(model.shown(Control::标签_局成绩));
  EXPECT_EQ(model.text(Control::标签_结果), "红方暂时领先……");
  EXPECT_EQ(model.get(Control::标签_结果, &ui::ControlState::textColour), kRedAheadColour);
  confirm();
  EXPECT_EQ(headline(Control::超级编辑框_题目1), "团队累积分 5:3");
  EXPECT_EQ(note(Control::超级编辑框_题目1), "第2队员准备，按任意键报到");

  // Changing the team boxes now waits for the next relay.
  model.setText(Control::编辑框_团队人数, "5");
  playMember(2, 3);
  EXPECT_EQ(model.text(Control::标签_局成绩), "2：3  本局蓝方获胜！");
  EXPECT_EQ(model.text(Control::标签_红方成绩), "7");
  EXPECT_EQ(model.text(Control::标签_蓝方成绩), "6");
  EXPECT_EQ(model.text(Control::标签_结果), "最终成绩：红方团队胜！");
  EXPECT_EQ(model.get(Control::标签_结果, &ui::ControlState::textColour), kRedAheadColour);
  confirm();
  EXPECT_EQ(headline(Control::超级编辑框_题目1), kIdleHeadline);
  EXPECT_EQ(engine.settings().teamSize, 0);

  // The next start begins a new relay with the boxes as they are now.
  playMember(0, 0);
  EXPECT_EQ(engine.settings().teamSize, 5);
  EXPECT_EQ(model.text(Control::标签_红方成绩), "0");
  EXPECT_EQ(model.text(Control::标签_结果), "双方齐头并进……");
}

TEST_F(TeamRelay, ARelayStartedAfterAnotherModeIsANewRelay) {
  start(MatchMode::QuickAnswer, Control::编辑框_抢答, "20");
  answer(1);
  waitFor(MatchState::ResultShown);
  confirm();
  model.setCurrentPage(Control::选择夹_模式, static_cast<int>(MatchMode::TeamRelay));
  model.setText(Control::编辑框_团队人数, "3");
  model.setText(Control::编辑框_团队条数, "10");
  machines.reportBothIn();
  key(1, ":I");
  const MatchSettings settings = engine.settings();
  EXPECT_EQ(settings.teamSize, 3);
  EXPECT_EQ(settings.memberNumber, 1);
  EXPECT_EQ(settings.entryLimit, 10);
  EXPECT_EQ(engine.side(1).teamTotal, 0);
}

}  // namespace
}  // namespace qiru
