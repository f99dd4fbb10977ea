#include "app/keyboard_prompts.h"

namespace qiru::app {

MatchPrompts keyboardPrompts() {
  MatchPrompts prompts;
  prompts.reportInMachine1 = "请一号机按任意键（键盘字母键）报到！";
  prompts.pressStartKey = "请按右I键（键盘 ,）开始比赛！";
  prompts.idleNote = "（键盘：字母键报到，“,”键开始，F1 看键位）";
  prompts.goOn = "按 EN（键盘 A+,）继续";
  prompts.idleStatus = "按 F1 查看键盘上的键位";
  return prompts;
}

}  // namespace qiru::app
