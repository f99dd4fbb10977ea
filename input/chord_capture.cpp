#include "input/chord_capture.h"

#include <bit>
#include <string>
#include <utility>

#include "steno/chord_decoder.h"
#include "support/message_pump.h"

namespace qiru {

namespace {

int keyCount(std::int32_t mask) { return std::popcount(static_cast<std::uint32_t>(mask)); }

}  // namespace

ChordCapture::ChordCapture(std::int32_t side, KeyReportQueue& queue, KeyEventSink& sink, SchemeSource scheme)
    : side_(side), queue_(queue), sink_(sink), scheme_(std::move(scheme)) {}

std::int64_t ChordCapture::captureStep() {
  KeyReport report{};
  // Whether a report was taken, not what pop answers: pop says false also
  // for a report with no key while the machine's numbers are not yet
  // known, and that report still lets a chord go.
  const bool queueWasEmpty = queue_.isEmpty();
  queue_.pop(report);
  if (!queueWasEmpty) {
    emptyPolls_ = 0;
    takeReport(report);
    return 0;
  }
  if (MessagePump* pump = currentMessagePump()) pump->serveMessages();
  if (emptyPolls_ == 0) {
    emptyPolls_ = 1;
    return emptyPollWaitMs;
  }
  // The second empty poll in a row: the player has stopped, so the state
  // being built is finished.
  if (emptyPolls_ == 1 && !currentIsIdle()) {
    handOnCurrent();
    markCurrentIdle();
  }
  if (++emptyPolls_ >= kEmptyPollWrapCount) {
    emptyPolls_ = 0;
    return 0;
  }
  return emptyPollWaitMs;
}

void ChordCapture::takeReport(const KeyReport& report) {
  if (currentIsIdle()) {
    // A report repeating the state already handed on changes nothing.
    if (report.chordCode != current_.chordCode) current_ = report;
    return;
  }
  const std::int64_t gapMs = report.timeMs - current_.timeMs;
  if (report.pressedCount == 0 && current_.pressedCount >= 1) {
    // All keys up: the state before is finished. Merged into a state of one
    // key instead, the release would vanish, and a two-key chord let go key
    // by key would never be emitted.
    handOnCurrent();
    current_ = report;
  } else if (gapMs > mergeWindowMs) {
    handOnCurrent();
    if (report.chordCode == current_.chordCode) {
      markCurrentIdle();
    } else {
      current_ = report;
    }
  } else if (report.chordCode != current_.chordCode) {
    // Keys of one stroke arriving a little apart. While one hand has no key
    // yet, the state counts from its latest report.
    if (current_.maskB == 0 || current_.maskA == 0) current_.timeMs = report.timeMs;
    current_.chordCode |= report.chordCode;
    current_.maskB |= report.maskB;
    current_.maskA |= report.maskA;
    current_.pressedCount = keyCount(current_.maskA) + keyCount(current_.maskB);
  }
}

void ChordCapture::handOnCurrent() {
  if (current_.chordCode == lastPassedCode_) return;
  lastPassedCode_ = current_.chordCode;
  detectChord(current_);
}

void ChordCapture::detectChord(const KeyReport& state) {
  if (state.pressedCount > kMaxChordKeyCount || state.pressedCount < 0) return;
  const KeyReport& fullest = previous_;
  const std::int32_t both = fullest.chordCode | state.chordCode;
  const bool released = both != state.chordCode;  // keys of the fullest state are up
  const bool pressed = both != fullest.chordCode;  // keys not in the fullest state are down

  if (pressed && !released) {
    if (phase_ != Phase::Press) {
      phase_ = Phase::Press;
      armed_ = true;
    }
  } else if (released && !pressed) {
    phase_ = Phase::Release;
    if (armed_) {
      const std::int32_t releasedCount = fullest.pressedCount - state.pressedCount;
      const bool leftHandEmptied = state.maskB == 0 && fullest.maskB != 0;
      const bool rightHandEmptied = state.maskA == 0 && fullest.maskA != 0;
      // Two keys up together count as letting go when they are of one hand.
      const bool twoOfOneHand = fullest.maskB == state.maskB || fullest.maskA == state.maskA;
      const bool lettingGo = leftHandEmptied || rightHandEmptied || releasedCount > 2 ||
                             (releasedCount == 2 && twoOfOneHand);
      if (!lettingGo) return;  // a key or two lifted: wait, keeping the fullest state
      armed_ = false;
      emitChord(fullest);
    }
  } else if (released && pressed) {
    // A roll: the next chord's keys go down while this one's come up.
    if (armed_) emitChord(fullest);
    phase_ = Phase::Press;
    armed_ = true;
  } else {
    armed_ = true;
  }
  previous_ = state;
}

void ChordCapture::emitChord(const KeyReport& chord) {
  std::string codeText;
  std::string name = decodeChord(scheme_(), chord.maskB, chord.maskA, chord.chordCode, codeText);
  // A chord that decodes to nothing but the colon shows its keys instead.
  if (name == ":") name = codeText;
  sink_.onKeyEvent(KeyEvent{side_, std::move(codeText), std::move(name)});
}

}  // namespace qiru
