#pragma once
// The two kinds of box the program shows: the box that closes by itself
// after its time-out, and the plain box that waits for an answer. Both are
// topmost and answer with the button code minus 1 (messages.h).

#include <string>

#include "support/messages.h"

namespace qiru {

// A box that closes by itself when no time-out is asked for.
inline constexpr int kDefaultMessageTimeoutMs = 3000;

struct MessageStyle {
  MessageButtons buttons = MessageButtons::Ok;
  MessageIcon icon = MessageIcon::None;
};

// Shows a topmost box that closes itself after timeoutMs, or after
// kDefaultMessageTimeoutMs when useTimeout is false. A box that closed
// itself answers AnswerTimedOut.
int showTimedMessage(MessageService& service, std::string text, MessageStyle style,
                     std::string caption, MessageOwner owner, bool useTimeout, int timeoutMs);

// Shows a topmost box that stays until it is answered.
int showMessageBox(MessageService& service, std::string text, MessageStyle style,
                   std::string caption, MessageOwner owner);

}  // namespace qiru
