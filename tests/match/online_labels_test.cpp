// The online labels as the players see them: the side's name, its machine's
// number once it has reported in, and the colours.

#include "match/online_labels.h"

#include <gtest/gtest.h>

namespace qiru {
namespace {

using ui::Control;

TEST(OnlineLabels, ShowEachSidesMachine) {
  struct Case {
    int side;
    std::int32_t number;
    Control online, score;
    std::string caption;
    ui::Colour colour;
  };
  const Case cases[] = {
      {1, 12345, Control::标签_一号机在线, Control::标签_一号机成绩, "红方：12345", ui::kRedSideColour},
      {1, 0, Control::标签_一号机在线, Control::标签_一号机成绩, "红方", kNotReportedInColour},
      {2, 99999, Control::标签_二号机在线, Control::标签_二号机成绩, "蓝方：99999", ui::kBlueSideColour},
      {2, 0, Control::标签_二号机在线, Control::标签_二号机成绩, "蓝方", kNotReportedInColour},
  };
  ui::ControlModel model;
  OnlineLabels labels(model);
  for (const Case& c : cases) {
    labels.showMachineNumber(c.side, c.number);
    EXPECT_EQ(model.text(c.online), c.caption);
    EXPECT_EQ(model.get(c.online, &ui::ControlState::textColour), c.colour) << c.caption;
    EXPECT_EQ(model.get(c.score, &ui::ControlState::textColour), c.colour) << c.caption;
  }
}

TEST(OnlineLabels, AGivenNameShowsBesideItsNumberFromThenOn) {
  ui::ControlModel model;
  OnlineLabels labels(model);
  labels.showMachineNumber(1, 10001);
  labels.showMachineNumber(2, 10002);
  labels.nameMachines({{10001, "张三"}, {30003, "王五"}});
  EXPECT_EQ(model.text(Control::标签_一号机在线), "红方：10001 张三") << "the label shown changes at once";
  EXPECT_EQ(model.text(Control::标签_二号机在线), "蓝方：10002") << "an unnamed number shows as ever";

  labels.showMachineNumber(2, 30003);
  EXPECT_EQ(model.text(Control::标签_二号机在线), "蓝方：30003 王五") << "a machine reporting in later";
  labels.showMachineNumber(1, 0);
  EXPECT_EQ(model.text(Control::标签_一号机在线), "红方") << "no number, no name";
  EXPECT_EQ(model.get(Control::标签_一号机在线, &ui::ControlState::textColour), kNotReportedInColour);

  labels.nameMachines({});
  EXPECT_EQ(model.text(Control::标签_二号机在线), "蓝方：30003") << "a forgotten name goes";
  EXPECT_EQ(model.text(Control::标签_一号机在线), "红方");

  // During a round the match shows the side's input on the label.
  model.setText(Control::标签_二号机在线, "ba");
  labels.nameMachines({{30003, "王五"}});
  EXPECT_EQ(model.text(Control::标签_二号机在线), "ba") << "the match's own text stays";
}

TEST(OnlineLabels, BackgroundShowsTheConnection) {
  ui::ControlModel model;
  OnlineLabels labels(model);
  labels.showConnected(1, true);
  labels.showConnected(2, false);
  EXPECT_EQ(model.get(Control::标签_一号机在线, &ui::ControlState::background), kConnectedBackground);
  EXPECT_EQ(model.get(Control::标签_二号机在线, &ui::ControlState::background), kDisconnectedBackground);
  labels.showConnected(1, false);
  EXPECT_EQ(model.get(Control::标签_一号机在线, &ui::ControlState::background), kDisconnectedBackground);
}

}  // namespace
}  // namespace qiru
