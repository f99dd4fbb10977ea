#include "match/online_labels.h"

#include <string>

#include "device/side.h"

namespace qiru {

namespace {

struct SideLabels {
  ui::Control online;
  ui::Control score;
  const char* sideName;
  ui::Colour colour;
};

const SideLabels& labelsOf(int side) {
  static const SideLabels kRed{ui::Control::标签_一号机在线, ui::Control::标签_一号机成绩, "红方",
                               ui::kRedSideColour};
  static const SideLabels kBlue{ui::Control::标签_二号机在线, ui::Control::标签_二号机成绩, "蓝方",
                                ui::kBlueSideColour};
  return side == kRedSide ? kRed : kBlue;
}

}  // namespace

ui::Colour sideColour(int side) { return labelsOf(side).colour; }

void OnlineLabels::showMachineNumber(int side, std::int32_t machineNumber) {
  const SideLabels& labels = labelsOf(side);
  const bool reportedIn = machineNumber != 0;
  model_.setText(labels.online,
                 reportedIn ? std::string(labels.sideName) + "：" + std::to_string(machineNumber) : labels.sideName);
  const ui::Colour colour = reportedIn ? labels.colour : kNotReportedInColour;
  model_.setTextColour(labels.online, colour);
  model_.setTextColour(labels.score, colour);
}

void OnlineLabels::showConnected(int side, bool connected) {
  model_.setBackground(labelsOf(side).online, connected ? kConnectedBackground : kDisconnectedBackground);
}

}  // namespace qiru
