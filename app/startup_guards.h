#pragma once
// The two guards at the start of the program: it does not run beside the
// product's sibling main program, and it does not run twice.

#include <string>
#include <string_view>

#include "app/single_instance.h"
#include "support/messages.h"

namespace qiru::app {

inline constexpr std::string_view kSiblingCaption = "重要提示：";
inline constexpr std::string_view kSiblingText =
    "本程序不能与Q锐主程序同时使用，是否关闭主程序？\r\n【是】终止主程序，【否】退出本程序。";
inline constexpr std::string_view kAlreadyRunningCaption = "提示";
inline constexpr std::string_view kAlreadyRunningText =
    "本程序已在运行中，请勿重复启动！\r\n如该程序运行不正常并无法正常结束，请从系统任务管理器中结束该任务：";
inline constexpr int kAlreadyRunningMessageMs = 10000;

// When the sibling runs, asks whether to end it: Yes ends it and the
// program goes on (true), No ends the program (false).
bool passSiblingGuard(MessageService& messages);

// True when this is the only instance. A second start always ends (false):
// it asks the running instance to raise its window; when that instance does
// not answer (it is stuck), the box says so for 10 seconds and names this
// program's executable, `executablePath`.
bool passSingleInstanceGuard(SingleInstance& instance, MessageService& messages, const std::string& executablePath);

}  // namespace qiru::app
