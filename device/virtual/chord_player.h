#pragma once
// A player at a virtual machine: strikes chords the way fingers do. The keys
// of a chord go down a few ms apart, are held, and come up one by one, each
// change sending one report; a sequence of chords keeps a given pace.

#include <cstdint>
#include <span>
#include <vector>

#include "device/report_layout.h"
#include "device/virtual/virtual_ch375.h"

namespace qiru {

struct PlayingStyle {
  std::int64_t keyDownGapMs = 4;  // from one key going down to the next
  std::int64_t holdMs = 60;       // all keys down
  std::int64_t keyUpGapMs = 4;    // from one key coming up to the next
};

// One change of the machine's keys.
struct KeyChange {
  std::int64_t atMs;
  PressedKeys keys;
};

// The key changes of one chord struck at startMs: the keys go down left hand
// first, each hand in key-name order, and come up in the same order. The
// last change leaves no key pressed.
std::vector<KeyChange> chordStrokes(std::int64_t startMs, PressedKeys chord, const PlayingStyle& style);

class ChordPlayer {
 public:
  ChordPlayer(VirtualCh375& library, int deviceIndex, PlayingStyle style = {});

  // Strikes the chord from startMs; returns when its last key comes up.
  std::int64_t play(std::int64_t startMs, PressedKeys chord);
  // Strikes the chords one after another, one every paceMs, but never
  // before the previous one is fully up. Returns when the last key comes up.
  std::int64_t playSequence(std::int64_t startMs, std::span<const PressedKeys> chords, std::int64_t paceMs);

 private:
  VirtualCh375& library_;
  int deviceIndex_;
  PlayingStyle style_;
};

}  // namespace qiru
