#include "device/link_messages.h"

#include <string>

#include "support/message_boxes.h"

namespace qiru {

namespace {

constexpr const char* kErrorCaption = "错误信息：";
constexpr const char* kNoticeCaption = " 信息提示 ";

void show(MessageService& messages, std::string text, MessageIcon icon, const char* caption, int timeoutMs) {
  showTimedMessage(messages, std::move(text), {MessageButtons::Ok, icon}, caption, MessageOwner::MainWindow,
                   true, timeoutMs);
}

}  // namespace

void showPlugMonitorFailed(MessageService& messages, int side) {
  show(messages, "设置" + std::to_string(side) + "号机插拔监视失败，请拔下速录机重新插上！", MessageIcon::None,
       kErrorCaption, kPlugMonitorMessageTimeoutMs);
}

void showConnectionError(MessageService& messages, int side, LinkTestResult result) {
  show(messages,
       std::to_string(side) +
           "号机错误：\r\nUSB接口连接异常，请拔下该速录机重新连接或插到其他USB接口上！ \r\n错误代码：" +
           std::to_string(static_cast<std::int32_t>(result)) +
           "\r\n如持续出现该错误，请先在其他计算机上测试是否正常。\r\n如问题依旧，请尽快返厂维修！",
       MessageIcon::Warning, kNoticeCaption, kConnectionErrorMessageTimeoutMs);
}

void showStatusError(MessageService& messages, int side, std::int32_t returned) {
  show(messages,
       std::to_string(side) + "号机状态异常：无法调用 " + std::to_string(returned) + " ，请拔下速录机重新插上！",
       MessageIcon::Warning, kErrorCaption, kStatusErrorMessageTimeoutMs);
}

}  // namespace qiru
