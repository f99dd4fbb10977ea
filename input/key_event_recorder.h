#pragma once
// A key-event sink that keeps every event, in the order they came, from
// any number of reader threads: for replays and tests.

#include <mutex>
#include <vector>

#include "input/key_event.h"

namespace qiru {

class KeyEventRecorder final : public KeyEventSink {
 public:
  void onKeyEvent(const KeyEvent& event) override {
    std::lock_guard lock(mutex_);
    events_.push_back(event);
  }
  std::vector<KeyEvent> events() const {
    std::lock_guard lock(mutex_);
    return events_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<KeyEvent> events_;
};

}  // namespace qiru
