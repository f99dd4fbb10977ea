#include "support/message_boxes.h"

#include <utility>

namespace qiru {

namespace {

int showTopmost(MessageService& service, std::string text, MessageStyle style, std::string caption,
                MessageOwner owner, int timeoutMs) {
  MessageRequest request;
  request.caption = std::move(caption);
  request.text = std::move(text);
  request.buttons = style.buttons;
  request.icon = style.icon;
  request.owner = owner;
  request.topmost = true;
  request.timeoutMs = timeoutMs;
  return service.show(request);
}

}  // namespace

int showTimedMessage(MessageService& service, std::string text, MessageStyle style,
                     std::string caption, MessageOwner owner, bool useTimeout, int timeoutMs) {
  return showTopmost(service, std::move(text), style, std::move(caption), owner,
                     useTimeout ? timeoutMs : kDefaultMessageTimeoutMs);
}

int showMessageBox(MessageService& service, std::string text, MessageStyle style,
                   std::string caption, MessageOwner owner) {
  return showTopmost(service, std::move(text), style, std::move(caption), owner, 0);
}

}  // namespace qiru
