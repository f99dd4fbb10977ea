#include "ui/main_window_layout.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/ui/geometry_printing.h"
#include "ui/control_table.h"
#include "ui/window_setup.h"

namespace qiru::ui {
namespace {

using C = Control;

constexpr MatchState kAllStates[] = {MatchState::Idle, MatchState::Running, MatchState::CountingDown,
                                     MatchState::Closing, MatchState::ResultShown};
constexpr MatchMode kAllModes[] = {MatchMode::TimedRace, MatchMode::RaceToFinish, MatchMode::QuickAnswer,
                                   MatchMode::TeamRelay};

// The window as the running program has it: set up at start-up, laid out
// whenever its size changes.
struct LaidOutWindow {
  LaidOutWindow() {
    setUpMainWindow(model);
    model.setHandler(C::QiruPK, EventKind::SizeChanged,
                     [this](const ControlEvent&) { layOutMainWindow(model, state, mode); });
  }

  void layOutAt(Size size, MatchState matchState = MatchState::Idle, MatchMode matchMode = MatchMode::TimedRace) {
    state = matchState;
    mode = matchMode;
    model.resizeWindow(size);
  }

  void expectGeometry(std::initializer_list<std::pair<Control, Rect>> expected) const {
    for (const auto& [control, rect] : expected) {
      EXPECT_EQ(model.geometry(control), rect) << controlName(control);
    }
  }

  ControlModel model;
  MatchState state = MatchState::Idle;
  MatchMode mode = MatchMode::TimedRace;
};

class MainWindowLayout : public ::testing::Test, public LaidOutWindow {};

TEST_F(MainWindowLayout, AtTheDefaultSize) {
  layOutAt({800, 700});
  expectGeometry({
      {C::外形框_选项, {14, 8, 757, 76}},
      {C::选择夹_素材, {10, 4, 363, 67}},
      {C::外形框_闪灭, {219, 24, 141, 39}},
      {C::按钮_选择, {158, 27, 61, 29}},
      {C::组合框_素材, {8, 32, 145, 20}},
      {C::选择夹_模式, {385, 4, 362, 67}},
      {C::外形框_题目, {14, 86, 757, 186}},
      {C::标签_时间, {296, 2, 160, 24}},
      {C::标签_辅助信息1, {2, 2, 294, 24}},
      {C::标签_辅助信息2, {456, 2, 297, 24}},
      {C::超级编辑框_题目1, {2, 26, 753, 158}},
      {C::标签_一号机在线, {14, 274, 373, 61}},
      {C::标签_二号机在线, {397, 274, 373, 61}},
      {C::标签_一号机成绩, {14, 337, 373, 201}},
      {C::标签_二号机成绩, {397, 337, 373, 201}},
      {C::编辑框_一号机按键, {14, 540, 373, 100}},  // right below the scores
      {C::编辑框_二号机按键, {397, 540, 373, 100}},
      {C::外形框_结果, {160, 164, 480, 372}},
      {C::状态条1, {0, 651, 794, 20}},
  });
  EXPECT_FALSE(model.shown(C::超级编辑框_题目2));
  const std::vector<StatusPane> panes = model.get(C::状态条1, &ControlState::panes);
  EXPECT_EQ(panes.at(0).width, 393);
  EXPECT_EQ(panes.at(1).width, 393);
}

// Below 770 x 590 the window refuses to shrink; there the material tab is
// held at its least width, and the scores give up height until the key
// logs keep three lines.
TEST_F(MainWindowLayout, ANarrowWindowStopsAtTheMinimum) {
  layOutAt({600, 400});
  expectGeometry({
      {C::QiruPK, {50, 10, 770, 590}},
      {C::外形框_选项, {14, 8, 727, 76}},
      {C::选择夹_素材, {10, 4, 350, 67}},
      {C::外形框_闪灭, {206, 24, 141, 39}},
      {C::选择夹_模式, {372, 4, 345, 67}},
      {C::标签_一号机成绩, {14, 337, 358, 101}},
      {C::编辑框_一号机按键, {14, 440, 358, 90}},
      {C::标签_二号机成绩, {382, 337, 358, 101}},
      {C::外形框_结果, {145, 109, 480, 372}},
  });
}

TEST_F(MainWindowLayout, AWideWindowSpreadsBothColumns) {
  layOutAt({1600, 1000});
  expectGeometry({
      {C::外形框_选项, {14, 8, 1557, 76}},
      {C::选择夹_素材, {10, 4, 763, 67}},
      {C::选择夹_模式, {785, 4, 762, 67}},
      {C::标签_一号机成绩, {14, 337, 773, 368}},
      {C::编辑框_一号机按键, {14, 707, 773, 233}},
      {C::标签_二号机在线, {797, 274, 773, 61}},
      {C::标签_时间, {696, 2, 160, 24}},
      {C::超级编辑框_题目1, {2, 26, 1553, 158}},
  });
}

// In every state and mode, at every size: the rows stack without overlap,
// the panes split only while a race with a pane per side starts or runs, and
// a second pass of the layout changes nothing.
TEST_F(MainWindowLayout, HoldsInEveryStateAndModeAndIsFinalAfterOnePass) {
  for (const Size size : {Size{770, 590}, Size{800, 700}, Size{1000, 520}, Size{1600, 1000}}) {
    for (const MatchState matchState : kAllStates) {
      for (const MatchMode matchMode : kAllModes) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height) + " " +
                     std::string(matchStateName(matchState)) + " mode " +
                     std::to_string(static_cast<int>(matchMode)));
        layOutAt(size, matchState, matchMode);
        const Rect question = model.geometry(C::外形框_题目);
        const Rect online = model.geometry(C::标签_一号机在线);
        const Rect score = model.geometry(C::标签_一号机成绩);
        const Rect keyLog = model.geometry(C::编辑框_一号机按键);
        EXPECT_EQ(online.top, question.bottom() + 2);
        EXPECT_EQ(score.top, online.bottom() + 2);
        EXPECT_EQ(keyLog.top, score.bottom() + 2);
        EXPECT_GE(keyLog.height, 90) << "three lines of the key log";
        EXPECT_EQ(-model.get(C::标签_一号机成绩, &ControlState::font).height, score.height * 80 / 114)
            << "the digits scale with their tile";
        EXPECT_EQ(model.geometry(C::标签_二号机成绩).left, score.right() + 10);
        EXPECT_EQ(model.geometry(C::编辑框_二号机按键).top, keyLog.top);

        const Rect pane1 = model.geometry(C::超级编辑框_题目1);
        const Rect pane2 = model.geometry(C::超级编辑框_题目2);
        const bool split = (matchState == MatchState::CountingDown || matchState == MatchState::Running) &&
                           (matchMode == MatchMode::TimedRace || matchMode == MatchMode::RaceToFinish);
        EXPECT_EQ(model.shown(C::超级编辑框_题目2), split);
        if (split) {
          EXPECT_EQ(pane1.width, online.width);
          EXPECT_EQ(pane2.width, online.width);
          EXPECT_EQ(pane2.left, pane1.right() + 8);
          EXPECT_LE(pane2.right(), question.width);
        } else {
          EXPECT_EQ(pane1.width, question.width - 4);
        }

        int changes = 0;
        model.setChangeListener([&changes](const ControlChange&) { ++changes; });
        layOutMainWindow(model, matchState, matchMode);
        model.setChangeListener(nullptr);
        EXPECT_EQ(changes, 0);
      }
    }
  }
}

TEST_F(MainWindowLayout, ShrinkingAgainLooksAsIfNeverWidened) {
  LaidOutWindow fresh;
  fresh.layOutAt({800, 700});
  layOutAt({1600, 1000}, MatchState::Running, MatchMode::RaceToFinish);
  layOutAt({800, 700});
  for (const ControlSpec& spec : controlTable()) {
    EXPECT_EQ(model.isVisible(spec.control), fresh.model.isVisible(spec.control)) << spec.name;
    if (fresh.model.isVisible(spec.control)) {
      EXPECT_EQ(model.geometry(spec.control), fresh.model.geometry(spec.control)) << spec.name;
    }
  }
}

TEST_F(MainWindowLayout, QuestionFrameAloneFollowsTheMatch) {
  layOutAt({800, 700});
  layOutQuestionFrame(model, MatchState::CountingDown, MatchMode::TimedRace);
  EXPECT_TRUE(model.shown(C::超级编辑框_题目2));
  EXPECT_EQ(model.geometry(C::超级编辑框_题目1), (Rect{2, 26, 373, 158}));
  EXPECT_EQ(model.geometry(C::超级编辑框_题目2), (Rect{383, 26, 373, 158}));

  layOutQuestionFrame(model, MatchState::ResultShown, MatchMode::TimedRace);
  EXPECT_FALSE(model.shown(C::超级编辑框_题目2));
  EXPECT_EQ(model.geometry(C::超级编辑框_题目1), (Rect{2, 26, 753, 158}));
}

}  // namespace
}  // namespace qiru::ui
