#include "device/ch375dll/ch375dll_messages.h"

#include "device/ch375dll/ch375dll_functions.h"

namespace qiru {

namespace {

constexpr std::string_view kInstallAdvice =
    "请安装速录机附带的 CH375 USB 驱动程序（南京沁恒 WCH 的 CH372/CH375 驱动），"
    "或把驱动附带的 CH375DLL.DLL 复制到本程序所在的文件夹，然后重新启动本程序。";

}  // namespace

std::string ch375DllMissingText() {
  std::string text = "找不到速录机的 USB 驱动库 ";
  text += kCh375DllFileName;
  text += "，无法连接速录机。\r\n";
  text += kInstallAdvice;
  return text;
}

std::string ch375DllLacksFunctionText(std::string_view function) {
  std::string text(kCh375DllFileName);
  text += " 缺少函数 ";
  text += function;
  text += "，不是本程序能用的版本，无法连接速录机。\r\n";
  text += kInstallAdvice;
  return text;
}

}  // namespace qiru
