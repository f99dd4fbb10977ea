#include "match/online_labels.h"

#include <string>
#include <utility>

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
  const std::lock_guard hold(mutex_);
  numbers_[sideSlot(side)] = machineNumber;
  showLocked(side);
}

void OnlineLabels::nameMachines(MachineNames names) {
  const std::lock_guard hold(mutex_);
  names_ = std::move(names);
  // Only a label that still shows its machine number changes: during a
  // round the match shows the side's input there, and after it the side's
  // name alone until the machine reports in again.
  for (const int side : {kRedSide, kBlueSide}) {
    const std::size_t slot = sideSlot(side);
    if (numbers_[slot] != 0 && model_.text(labelsOf(side).online) == shown_[slot]) showLocked(side);
  }
}

void OnlineLabels::showLocked(int side) {
  const SideLabels& labels = labelsOf(side);
  const std::int32_t machineNumber = numbers_[sideSlot(side)];
  const bool reportedIn = machineNumber != 0;
  std::string text = labels.sideName;
  if (reportedIn) {
    text += "：" + std::to_string(machineNumber);
    if (const auto name = names_.find(machineNumber); name != names_.end()) text += " " + name->second;
  }
  model_.setText(labels.online, text);
  shown_[sideSlot(side)] = text;
  const ui::Colour colour = reportedIn ? labels.colour : kNotReportedInColour;
  model_.setTextColour(labels.online, colour);
  model_.setTextColour(labels.score, colour);
}

void OnlineLabels::showConnected(int side, bool connected) {
  model_.setBackground(labelsOf(side).online, connected ? kConnectedBackground : kDisconnectedBackground);
}

}  // namespace qiru
