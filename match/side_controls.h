#pragma once
// Each side's own controls on the main window.

#include <cstdint>

#include "device/side.h"
#include "ui/control.h"

namespace qiru {

// Where the side's entry is shown (the red pane also shows a shared entry).
inline ui::Control questionPane(std::int32_t side) {
  return side == kRedSide ? ui::Control::超级编辑框_题目1 : ui::Control::超级编辑框_题目2;
}
// The online label: the machine's number before a round, the pending answer during it.
inline ui::Control onlineLabel(std::int32_t side) {
  return side == kRedSide ? ui::Control::标签_一号机在线 : ui::Control::标签_二号机在线;
}
inline ui::Control scoreLabel(std::int32_t side) {
  return side == kRedSide ? ui::Control::标签_一号机成绩 : ui::Control::标签_二号机成绩;
}

}  // namespace qiru
