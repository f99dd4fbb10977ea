#include "ui/main_window_layout.h"

#include <algorithm>
#include <initializer_list>

namespace qiru::ui {

namespace {

using C = Control;

constexpr int kGapPx = 2;                 // between frames and rows
constexpr int kColumnGapPx = 10;          // between the red and the blue column
constexpr int kPaneGapPx = 8;             // between the two question panes
constexpr int kOptionsRightMarginPx = 15; // beyond twice the frame's left margin
constexpr int kMinMaterialTabWidthPx = 350;
constexpr int kMinScoreHeightPx = 100;
constexpr int kKeyLogBottomMarginPx = 40; // above the status bar, title bar included
// Three lines of the key logs' font with the box's frame: the scores give
// up height for them before they go below their own least height.
constexpr int kMinKeyLogHeightPx = 90;
// The score digits fill their tile as the table's font fills its tile
// (height 80 in 114).
constexpr int kScoreFontPerTileHeight = 80;
constexpr int kScoreTileHeightOfFont = 114;

void setWidths(ControlModel& model, std::initializer_list<Control> controls, int width) {
  for (const Control control : controls) model.setWidth(control, width);
}
void setLefts(ControlModel& model, std::initializer_list<Control> controls, int left) {
  for (const Control control : controls) model.setLeft(control, left);
}
void setTops(ControlModel& model, std::initializer_list<Control> controls, int top) {
  for (const Control control : controls) model.setTop(control, top);
}

// The options frame across the top: the material tab on the left (at least
// 350 wide, with the flash box and the import button at its right end) and
// the mode tab filling the rest.
void layOutOptions(ControlModel& model, int windowWidth) {
  const int frameWidth = windowWidth - 2 * model.geometry(C::外形框_选项).left - kOptionsRightMarginPx;
  setWidths(model, {C::外形框_选项, C::外形框_题目}, frameWidth);

  const int materialWidth = std::max(frameWidth / 2 - 15, kMinMaterialTabWidthPx);
  model.setWidth(C::选择夹_素材, materialWidth);

  const int flashLeft = materialWidth - model.geometry(C::外形框_闪灭).width - 3;
  model.setLeft(C::外形框_闪灭, flashLeft);
  const int importLeft = flashLeft - model.geometry(C::按钮_选择).width;
  model.setLeft(C::按钮_选择, importLeft);
  model.setWidth(C::组合框_素材, importLeft - model.geometry(C::组合框_素材).left - 5);

  const Rect materialTab = model.geometry(C::选择夹_素材);
  const int modeLeft = materialTab.right() + 12;
  model.setLeft(C::选择夹_模式, modeLeft);
  model.setWidth(C::选择夹_模式, frameWidth - modeLeft - kColumnGapPx);

  model.setTop(C::外形框_题目, model.geometry(C::外形框_选项).bottom() + kGapPx);
}

// The two side columns below the question frame: online label, score and
// key log, one under the other. The scores take 5/9 of the height below
// their top and are sized before the key logs are placed under them.
void layOutSideColumns(ControlModel& model, Size window) {
  const Rect question = model.geometry(C::外形框_题目);
  setLefts(model, {C::标签_一号机在线, C::标签_一号机成绩, C::编辑框_一号机按键}, question.left);

  setTops(model, {C::标签_一号机在线, C::标签_二号机在线}, question.bottom() + kGapPx);
  const int scoreTop =
      model.geometry(C::标签_一号机在线).top + model.geometry(C::标签_二号机在线).height + kGapPx;
  setTops(model, {C::标签_一号机成绩, C::标签_二号机成绩}, scoreTop);
  const int belowScores = kGapPx + model.geometry(C::状态条1).height + kKeyLogBottomMarginPx + kMinKeyLogHeightPx;
  const int scoreHeight = std::max(std::min((window.height - scoreTop) * 5 / 9, window.height - scoreTop - belowScores),
                                   kMinScoreHeightPx);
  for (const Control score : {C::标签_一号机成绩, C::标签_二号机成绩}) {
    model.setHeight(score, scoreHeight);
    Font font = model.get(score, &ControlState::font);
    font.height = -scoreHeight * kScoreFontPerTileHeight / kScoreTileHeightOfFont;
    model.setFont(score, font);
  }
  const int keyLogTop = model.geometry(C::标签_一号机成绩).bottom() + kGapPx;
  setTops(model, {C::编辑框_一号机按键, C::编辑框_二号机按键}, keyLogTop);

  const int keyLogHeight =
      window.height - keyLogTop - model.geometry(C::状态条1).height - kKeyLogBottomMarginPx;
  model.setHeight(C::编辑框_一号机按键, keyLogHeight);
  model.setHeight(C::编辑框_二号机按键, keyLogHeight);

  setWidths(model,
            {C::标签_一号机在线, C::标签_二号机在线, C::标签_一号机成绩, C::标签_二号机成绩,
             C::编辑框_一号机按键, C::编辑框_二号机按键},
            question.width / 2 - 5);
  setLefts(model, {C::标签_二号机成绩, C::标签_二号机在线, C::编辑框_二号机按键},
           model.geometry(C::标签_一号机在线).right() + kColumnGapPx);
}

}  // namespace

bool showsSplitView(MatchState state, MatchMode mode) {
  return (state == MatchState::CountingDown || state == MatchState::Running) && sidesAdvanceAlone(mode);
}

void layOutMainWindow(ControlModel& model, MatchState state, MatchMode mode) {
  const Rect window = model.geometry(C::QiruPK);
  layOutOptions(model, window.width);
  layOutSideColumns(model, {window.width, window.height});

  const Rect result = model.geometry(C::外形框_结果);
  model.setLeft(C::外形框_结果, (window.width - result.width) / 2);
  model.setTop(C::外形框_结果, (window.height - result.height) / 2);

  layOutQuestionFrame(model, state, mode);

  const int paneWidth = (window.width - model.geometry(C::编辑框_一号机按键).left) / 2;
  model.setStatusPaneWidth(C::状态条1, 0, paneWidth);
  model.setStatusPaneWidth(C::状态条1, 1, paneWidth);
}

void layOutQuestionFrame(ControlModel& model, MatchState state, MatchMode mode) {
  const int frameWidth = model.geometry(C::外形框_选项).width;
  const Rect clock = model.geometry(C::标签_时间);
  const int clockLeft = (frameWidth - clock.width - 4) / 2;
  model.setLeft(C::标签_时间, clockLeft);
  model.setLeft(C::标签_辅助信息1, kGapPx);
  model.setWidth(C::标签_辅助信息1, clockLeft - kGapPx);
  const int rightInfoLeft = clockLeft + clock.width;
  model.setLeft(C::标签_辅助信息2, rightInfoLeft);
  model.setWidth(C::标签_辅助信息2, frameWidth - rightInfoLeft - 4);

  if (showsSplitView(state, mode)) {
    const int paneWidth = model.geometry(C::标签_一号机在线).width;
    setWidths(model, {C::超级编辑框_题目1, C::超级编辑框_题目2}, paneWidth);
    model.setLeft(C::超级编辑框_题目2, model.geometry(C::超级编辑框_题目1).right() + kPaneGapPx);
    model.setShown(C::超级编辑框_题目2, true);
  } else {
    model.setWidth(C::超级编辑框_题目1, frameWidth - 4);
    model.setShown(C::超级编辑框_题目2, false);
  }
  setTops(model, {C::超级编辑框_题目1, C::超级编辑框_题目2}, clock.bottom());
}

}  // namespace qiru::ui
