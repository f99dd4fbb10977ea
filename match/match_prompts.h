#pragma once
// What the window says where it asks a player for a machine key. The
// machines' own wording is the default; when machine 1 is the PC keyboard
// the program names the PC keys as well (app/keyboard_prompts.h), so that a
// newcomer needs no manual.

#include <string>
#include <string_view>

namespace qiru {

// Prompts in the red question pane.
inline constexpr std::string_view kReportInMachine1 = "请一号机按任意键报到！";
inline constexpr std::string_view kReportInMachine2 = "请二号机按任意键报到！";
inline constexpr std::string_view kPressStartKey = "请按右I键开始比赛！";
inline constexpr std::string_view kIdleHeadline = "* 请按任意键准备开始 *";
inline constexpr std::string_view kIdleNote = "（没有最快，只有更快）";

struct MatchPrompts {
  std::string reportInMachine1{kReportInMachine1};
  std::string reportInMachine2{kReportInMachine2};
  std::string pressStartKey{kPressStartKey};
  std::string idleNote{kIdleNote};  // under "* 请按任意键准备开始 *"
  // The result panel's line on how to go on (标签_继续提示); none: hidden.
  std::string goOn;
  // The status bar's first pane while no round runs; none: left alone.
  std::string idleStatus;
};

}  // namespace qiru
