#pragma once
// A chord as the match sees it: which side struck it, its keys as code text
// and what it means. Chord capture builds one per chord and hands it to the
// key-event sink on the side's reader thread.

#include <cstdint>
#include <ostream>
#include <string>

namespace qiru {

struct KeyEvent {
  std::int32_t side = 0;  // 1: machine 1, red side; 2: machine 2, blue side
  std::string chord;      // left-hand keys, ":", right-hand keys (":I")
  std::string name;       // a function key's name ("EN", "BS") or the decoded output
  friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const KeyEvent& event) {
  return out << event.side << " " << event.chord << "\t" << event.name;
}

// Where key events go: the match engine. Called from both reader threads;
// the event lives only for the call (the sink copies what it keeps).
class KeyEventSink {
 public:
  virtual ~KeyEventSink() = default;
  virtual void onKeyEvent(const KeyEvent& event) = 0;
};

}  // namespace qiru
