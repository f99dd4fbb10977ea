#include "device/virtual/chord_player.h"

#include <algorithm>

namespace qiru {

namespace {

// The chord's keys in the order a player's fingers take them.
std::vector<PressedKeys> keysOneByOne(PressedKeys chord) {
  std::vector<PressedKeys> keys;
  for (std::int32_t bit = 1; bit <= kAreaKeyMask; bit <<= 1) {
    if ((chord.left & bit) != 0) keys.push_back({.right = 0, .left = bit});
  }
  for (std::int32_t bit = 1; bit <= kAreaKeyMask; bit <<= 1) {
    if ((chord.right & bit) != 0) keys.push_back({.right = bit, .left = 0});
  }
  return keys;
}

}  // namespace

std::vector<KeyChange> chordStrokes(std::int64_t startMs, PressedKeys chord, const PlayingStyle& style) {
  const std::vector<PressedKeys> keys = keysOneByOne(chord);
  std::vector<KeyChange> changes;
  PressedKeys down{};
  std::int64_t atMs = startMs;
  for (const PressedKeys key : keys) {
    down.left |= key.left;
    down.right |= key.right;
    changes.push_back({atMs, down});
    atMs += style.keyDownGapMs;
  }
  atMs += style.holdMs - style.keyDownGapMs;
  for (const PressedKeys key : keys) {
    down.left &= ~key.left;
    down.right &= ~key.right;
    changes.push_back({atMs, down});
    atMs += style.keyUpGapMs;
  }
  return changes;
}

ChordPlayer::ChordPlayer(VirtualCh375& library, int deviceIndex, PlayingStyle style)
    : library_(library), deviceIndex_(deviceIndex), style_(style) {}

std::int64_t ChordPlayer::play(std::int64_t startMs, PressedKeys chord) {
  std::int64_t endMs = startMs;
  for (const KeyChange& change : chordStrokes(startMs, chord, style_)) {
    library_.sendKeys(deviceIndex_, change.atMs, change.keys);
    endMs = change.atMs;
  }
  return endMs;
}

std::int64_t ChordPlayer::playSequence(std::int64_t startMs, std::span<const PressedKeys> chords, std::int64_t paceMs) {
  std::int64_t endMs = startMs;
  std::int64_t nextMs = startMs;
  for (const PressedKeys chord : chords) {
    endMs = play(nextMs, chord);
    nextMs = std::max(nextMs + paceMs, endMs + 1);
  }
  return endMs;
}

}  // namespace qiru
