#include "input/chord_capture.h"

#include <bit>
#include <string>
#include <utility>

#include "steno/chord_decoder.h"

namespace qiru {

namespace {

int keyCount(std::int32_t mask) { return std::popcount(static_cast<std::uint32_t>(mask)); }

}  // namespace

ChordCapture::ChordCapture(std::int32_t side, KeyReportQueue& queue, KeyEventSink& sink, SchemeSource scheme)
    : side_(side), queue_(queue), sink_(sink), scheme_(std::move(scheme)) {}

CaptureProgress ChordCapture::captureStep(std::int64_t nowUs) {
  if (queue_.hasForgetting()) forget(queue_.takeForgetting());
  // Taken whatever the report carries: a report with no key while the
  // machine's numbers are not yet known still lets a chord go.
  for (KeyReport report{}; queue_.take(report); report = {}) {
    if (!ignored(report)) takeReport(report);
  }
  // The merge window has passed with no report: the player has stopped,
  // so the state being built is finished.
  if (!currentIsIdle() && nowUs > current_.timeUs + mergeWindowUs) {
    handOnCurrent();
    markCurrentIdle();
  }
  return progress();
}

CaptureProgress ChordCapture::progress() const {
  if (currentIsIdle()) return {};
  return {.dueUs = current_.timeUs + mergeWindowUs + 1, .heldSinceUs = currentStamps_.lastUs};
}

void ChordCapture::forget(const Forgetting& forgetting) {
  if (forgetting.machineReset) {
    // The machine went away: whatever it had down is gone with it.
    keysDown_ = false;
    ignoring_ = false;
  }
  if (forgetting.beforeUs != kNothingToForget && forgetting.beforeUs > forgetBeforeUs_) {
    forgetBeforeUs_ = forgetting.beforeUs;
  }
  // The chord in progress, if any, began before the moment: keys still
  // down belong to it.
  ignoring_ = ignoring_ || keysDown_;
  current_ = {};
  markCurrentIdle();
  currentStamps_ = {};
  lastPassedCode_ = 0;
  previous_ = {};
  phase_ = Phase::None;
  armed_ = false;
}

bool ChordCapture::ignored(const KeyReport& report) {
  const bool wasDown = std::exchange(keysDown_, report.pressedCount > 0);
  if (ignoring_) {
    ignoring_ = keysDown_;
    return true;
  }
  // A chord whose first key went down before the moment to forget is lost
  // even when its reports are taken only now.
  if (!wasDown && keysDown_ && report.timeUs < forgetBeforeUs_) {
    ignoring_ = true;
    return true;
  }
  return false;
}

void ChordCapture::takeReport(const KeyReport& report) {
  if (currentIsIdle()) {
    // A report repeating the state already handed on changes nothing.
    if (report.chordCode != current_.chordCode) startState(report);
    return;
  }
  const std::int64_t gapUs = report.timeUs - current_.timeUs;
  if (report.pressedCount == 0 && current_.pressedCount >= 1) {
    // All keys up: the state before is finished. Merged into a state of one
    // key instead, the release would vanish, and a two-key chord let go key
    // by key would never be emitted.
    handOnCurrent();
    startState(report);
  } else if (gapUs > mergeWindowUs) {
    handOnCurrent();
    if (report.chordCode == current_.chordCode) {
      markCurrentIdle();
    } else {
      startState(report);
    }
  } else if (report.chordCode != current_.chordCode) {
    // Keys of one stroke arriving a little apart. While one hand has no key
    // yet, the state counts from its latest report.
    if (current_.maskB == 0 || current_.maskA == 0) current_.timeUs = report.timeUs;
    current_.chordCode |= report.chordCode;
    current_.maskB |= report.maskB;
    current_.maskA |= report.maskA;
    current_.pressedCount = keyCount(current_.maskA) + keyCount(current_.maskB);
    currentStamps_.lastUs = report.timeUs;
  }
}

void ChordCapture::startState(const KeyReport& report) {
  current_ = report;
  currentStamps_ = {report.timeUs, report.timeUs};
  // Every key is up: the player has let go, and nothing can merge into a
  // release, so the chord is finished now rather than when the window ends.
  if (report.pressedCount == 0) {
    handOnCurrent();
    markCurrentIdle();
  }
}

void ChordCapture::handOnCurrent() {
  if (current_.chordCode == lastPassedCode_) return;
  lastPassedCode_ = current_.chordCode;
  detectChord(current_, currentStamps_);
}

void ChordCapture::detectChord(const KeyReport& state, const StateStamps& stamps) {
  if (state.pressedCount > kMaxChordKeyCount || state.pressedCount < 0) return;
  const KeyReport& fullest = previous_;
  const std::int32_t both = fullest.chordCode | state.chordCode;
  const bool released = both != state.chordCode;  // keys of the fullest state are up
  const bool pressed = both != fullest.chordCode;  // keys not in the fullest state are down

  if (pressed && !released) {
    if (phase_ != Phase::Press) {
      phase_ = Phase::Press;
      armed_ = true;
      chordBeganUs_ = stamps.firstUs;
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
      emitChord(fullest, chordBeganUs_, stamps.lastUs);
    }
  } else if (released && pressed) {
    // A roll: the next chord's keys go down while this one's come up.
    if (armed_) emitChord(fullest, chordBeganUs_, stamps.lastUs);
    phase_ = Phase::Press;
    armed_ = true;
    chordBeganUs_ = stamps.firstUs;
  } else {
    armed_ = true;
  }
  previous_ = state;
}

void ChordCapture::emitChord(const KeyReport& chord, std::int64_t beganUs, std::int64_t completedUs) {
  std::string codeText;
  std::string name = decodeChord(scheme_(), chord.maskB, chord.maskA, chord.chordCode, codeText);
  // A chord that decodes to nothing but the colon shows its keys instead.
  if (name == ":") name = codeText;
  sink_.onKeyEvent(KeyEvent{side_, std::move(codeText), std::move(name), beganUs, completedUs});
}

}  // namespace qiru
