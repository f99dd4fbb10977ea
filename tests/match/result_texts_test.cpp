#include "match/result_texts.h"

#include <gtest/gtest.h>

#include "match/key_record.h"
#include "match/team_relay.h"

namespace qiru {
namespace {

TEST(ResultTexts, TheScoresAloneDecide) {
  EXPECT_EQ(judge(0, 0, kRoundVerdicts), (Verdict{"本局双方战平！", 0x008000}));
  EXPECT_EQ(judge(7, 6, kRoundVerdicts), (Verdict{"本局红方获胜！", kRedAheadColour}));
  EXPECT_EQ(judge(2, 3, kRoundVerdicts), (Verdict{"本局蓝方获胜！", 0xC06000}));
  EXPECT_EQ(judge(7, 6, kRelayFinalVerdicts), (Verdict{"最终成绩：红方团队胜！", kRedAheadColour}));
  EXPECT_EQ(judge(4, 4, kRelayFinalVerdicts), (Verdict{"最终成绩：双方握手言和！", 0x008000}));
  EXPECT_EQ(judge(1, 4, kRelayInterimVerdicts), (Verdict{"蓝方暂时领先……", 0xC06000}));
}

TEST(ResultTexts, RelayRoundLineAndPrompt) {
  EXPECT_EQ(roundScoreLine(3, 5), "3：5  本局蓝方获胜！");
  EXPECT_EQ(relayPromptHeadline(5, 3), "团队累积分 5:3");
  EXPECT_EQ(relayPromptNote(2), "第2队员准备，按任意键报到");
}

TEST(KeyRecord, LineStartsWithABreakAndShowsCountNameAndChord) {
  EXPECT_EQ(keyRecordLine(3, {1, "F:I", "EN"}), "\r\n3 EN - F:I");
  // A chord the decoder could not name is recorded by its code twice.
  EXPECT_EQ(keyRecordLine(1, {2, "X:", "X:"}), "\r\n1 X: - X:");
}

}  // namespace
}  // namespace qiru
