#pragma once
// The GUI thread's message pump: a wait on that thread (the countdown's
// steps, a delay) keeps the window drawing and its timer ticking.

#include <QCoreApplication>

#include "support/message_pump.h"

namespace qiru::ui::qt {

class QtMessagePump final : public MessagePump {
 public:
  void serveMessages() override { QCoreApplication::processEvents(); }
};

}  // namespace qiru::ui::qt
