#include "support/message_pump.h"

namespace qiru {

namespace {
thread_local MessagePump* tPump = nullptr;
}  // namespace

MessagePump* currentMessagePump() { return tPump; }

ScopedMessagePump::ScopedMessagePump(MessagePump& pump) : previous_(tPump) { tPump = &pump; }

ScopedMessagePump::~ScopedMessagePump() { tPump = previous_; }

}  // namespace qiru
