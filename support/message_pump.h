#pragma once
// A thread that owns windows must keep serving their messages while it
// waits, or the window freezes (the countdown runs on, the result pause too).
// Such a thread installs its pump; the program's waits (preciseDelay,
// pumpingWait) serve it while they wait. Threads without windows have none.

namespace qiru {

class MessagePump {
 public:
  virtual ~MessagePump() = default;
  // Serves the messages that are waiting now, without blocking.
  virtual void serveMessages() = 0;
};

// The pump of the calling thread, or null.
MessagePump* currentMessagePump();

// Installs a pump for the calling thread for the life of this object.
class ScopedMessagePump {
 public:
  explicit ScopedMessagePump(MessagePump& pump);
  ~ScopedMessagePump();
  ScopedMessagePump(const ScopedMessagePump&) = delete;
  ScopedMessagePump& operator=(const ScopedMessagePump&) = delete;

 private:
  MessagePump* previous_;
};

}  // namespace qiru
