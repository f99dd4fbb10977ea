#include "ui/window_setup.h"

#include <gtest/gtest.h>

#include "tests/ui/geometry_printing.h"
#include "ui/question_pane.h"
#include "ui/text_formats.h"

namespace qiru::ui {
namespace {

using C = Control;

TEST(WindowSetup, PreparesTheQuestionFrameAndTheTextFormats) {
  ControlModel model;
  setUpMainWindow(model);

  model.resizeWindow({100, 100});
  EXPECT_EQ(model.geometry(C::QiruPK), (Rect{50, 10, 770, 590}));

  EXPECT_EQ(model.geometry(C::标签_时间), (Rect{2, 2, 160, 24}));
  EXPECT_EQ(model.geometry(C::标签_辅助信息1).top, 2);
  EXPECT_EQ(model.geometry(C::标签_辅助信息2).height, 24);
  for (const Control pane : {C::超级编辑框_题目1, C::超级编辑框_题目2}) {
    const ControlState state = model.state(pane);
    EXPECT_EQ(state.geometry.height, 158);
    EXPECT_EQ(state.charFormat, (CharFormat{"宋体", 38, true, 0xFFFFFF, 0}));
    EXPECT_EQ(state.paragraphFormat.alignment, Alignment::Centre);
    EXPECT_EQ(state.formatInsets, (Insets{5, 20, 5, 5}));
  }
  EXPECT_EQ(model.geometry(C::超级编辑框_题目1).left, 2);
  EXPECT_EQ(model.get(C::编辑框_一号机按键, &ControlState::margins), (Margins{10, 5}));
  EXPECT_EQ(model.get(C::编辑框_二号机按键, &ControlState::margins), (Margins{10, 5}));
  EXPECT_FALSE(model.get(C::外形框_闪灭, &ControlState::framed));
}

TEST(ShowTwoLines, HeadlineInTheBannerFormatThenTheNote) {
  ControlModel model;
  showTwoLines(model, C::超级编辑框_题目1, "倒计时开始", "准备……");
  EXPECT_EQ(model.get(C::超级编辑框_题目1, &ControlState::richText),
            (RichText{{"倒计时开始\r\n", kBannerFormat}, {"准备……", kSubtitleFormat}}));

  showTwoLines(model, C::超级编辑框_题目1, "3", "");
  EXPECT_EQ(model.get(C::超级编辑框_题目1, &ControlState::richText), (RichText{{"3\r\n", kBannerFormat}}))
      << "the pane is emptied first, and an empty note adds nothing";
}

}  // namespace
}  // namespace qiru::ui
