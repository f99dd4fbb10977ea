#pragma once
// A chord as the match sees it: which side struck it, its keys as code text,
// what it means, and when it was struck. Chord capture builds one per chord
// and hands it to the key-event sink on the side's reader thread.

#include <cstdint>
#include <ostream>
#include <string>

namespace qiru {

struct KeyEvent {
  std::int32_t side = 0;  // 1: machine 1, red side; 2: machine 2, blue side
  std::string chord;      // left-hand keys, ":", right-hand keys (":I")
  std::string name;       // a function key's name ("EN", "BS") or the decoded output
  // Stamps of the clock's monotonic µs: the arrival of the chord's first
  // key-down report, and of the report that completed it (the release that
  // let it go). Which of two chords came first is decided by these, never
  // by the order the threads delivered them in.
  std::int64_t beganUs = 0;
  std::int64_t completedUs = 0;
  friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const KeyEvent& event) {
  return out << event.side << " " << event.chord << "\t" << event.name << " @" << event.beganUs << "-"
             << event.completedUs;
}

// Where key events go: the match engine. Called from both reader threads;
// the event lives only for the call (the sink copies what it keeps).
class KeyEventSink {
 public:
  virtual ~KeyEventSink() = default;
  virtual void onKeyEvent(const KeyEvent& event) = 0;
  // Whether onKeyEvent, called now, returns without waiting on the clock.
  virtual bool takesEventsWithoutWaiting() { return false; }
};

}  // namespace qiru
