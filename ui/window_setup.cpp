#include "ui/window_setup.h"

#include "ui/text_formats.h"

namespace qiru::ui {

namespace {

using C = Control;

constexpr int kWindowTop = 10;
constexpr int kQuestionPaneHeight = 158;
constexpr int kClockWidth = 160;
constexpr int kFrameInset = 2;  // from the question frame's top and left edge

}  // namespace

void setUpMainWindow(ControlModel& model) {
  model.setMinimumSize(C::QiruPK, kMainWindowMinimumSize);

  // The question frame: the clock at its top left, the two info lines as
  // high as the clock, the panes below them.
  model.setTop(C::QiruPK, kWindowTop);
  model.setFramed(C::外形框_闪灭, false);
  model.setHeight(C::超级编辑框_题目1, kQuestionPaneHeight);
  model.setHeight(C::超级编辑框_题目2, kQuestionPaneHeight);
  const int clockHeight = model.geometry(C::标签_时间).height;
  model.setHeight(C::标签_辅助信息1, clockHeight);
  model.setHeight(C::标签_辅助信息2, clockHeight);
  model.setGeometry(C::标签_时间, {kFrameInset, kFrameInset, kClockWidth, clockHeight});
  model.setTop(C::标签_辅助信息1, kFrameInset);
  model.setTop(C::标签_辅助信息2, kFrameInset);
  model.setLeft(C::超级编辑框_题目1, kFrameInset);

  for (const Control pane : {C::超级编辑框_题目1, C::超级编辑框_题目2}) {
    model.setCharFormat(pane, kBannerFormat);
    model.setParagraphFormat(pane, kQuestionParagraph);
    model.setFormatInsets(pane, kQuestionTextInsets);
  }
  model.setMargins(C::编辑框_一号机按键, kKeyLogMargins);
  model.setMargins(C::编辑框_二号机按键, kKeyLogMargins);
}

}  // namespace qiru::ui
