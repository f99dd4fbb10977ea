#include "device/libusb/usb_messages.h"

#include <filesystem>

namespace qiru {

namespace {

// "速录机（USB 1a86:5537，接口 1-4.2）": which machine, as lsusb and dmesg
// name it, so that the person can tell it from the other one.
std::string machineAt(UsbId id, const UsbLocation& location) {
  return "速录机（USB " + formatUsbId(id) + "，接口 " + describeLocation(location) + "）";
}

}  // namespace

std::string defaultUdevRulePath() {
  std::error_code ignored;
  if (!std::filesystem::exists(QIRU_UDEV_RULE_PATH, ignored) &&
      std::filesystem::exists(QIRU_UDEV_RULE_SOURCE, ignored)) {
    return QIRU_UDEV_RULE_SOURCE;
  }
  return QIRU_UDEV_RULE_PATH;
}

std::string permissionDeniedText(UsbId id, const UsbLocation& location, const std::string& rulePath) {
  return "无法打开" + machineAt(id, location) +
         "：当前用户没有使用该设备的权限。\r\n"
         "本程序附带的 udev 规则 " +
         rulePath +
         " 让桌面用户无需 root "
         "即可使用速录机。请安装该规则（若程序不是以软件包安装的，请把它复制到 "
         "/etc/udev/rules.d/），执行 sudo udevadm control "
         "--reload，然后拔下速录机重新插上。";
}

std::string deviceBusyText(UsbId id, const UsbLocation& location) {
  return machineAt(id, location) +
         "正被其他程序占用（可能是另一个 "
         "qiru-pk）。\r\n请关闭该程序，然后拔下速录机重新插上。";
}

}  // namespace qiru
