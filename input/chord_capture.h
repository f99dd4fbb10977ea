#pragma once
// Chord capture: turns one machine's stream of key reports into whole
// chords. Reports that arrive within mergeWindowUs of the state being built
// merge into it; each finished key state goes to the chord detector, which
// emits the fullest key set of a chord once the player starts letting go.
// Each emitted chord is decoded with the fingering scheme and handed to the
// key-event sink, stamped with the arrival of its first key-down report and
// of the report that completed it.
//
// A state is finished by the next report that does not merge into it, by
// an all-released report (at once: the player has let go), or once its
// merge window has passed with no report (the player has stopped): the
// step then names the deadline at which the reader must call again.
//
// Capture forgets on request (KeyReportQueue::forgetChordsBefore, reset):
// every chord begun before the moment asked for is lost, also one whose
// keys are still down, which is then ignored until every key is up.
//
// One instance per machine, run only by that machine's reader thread
// (device/reader_threads.h) through captureStep. It never waits itself.

#include <cstdint>
#include <functional>

#include "device/key_report.h"
#include "device/key_report_queue.h"
#include "device/report_consumer.h"
#include "input/key_event.h"
#include "steno/fingering_scheme.h"

namespace qiru {

// Reports at most this long after the current state's time merge into it.
inline constexpr std::int64_t mergeWindowUs = 20'000;
// Key states claiming more keys than this are not chords.
inline constexpr std::int32_t kMaxChordKeyCount = 20;

// Where the decoder's tables come from; the published scheme by default.
using SchemeSource = std::function<const FingeringScheme&()>;

// The stamps of a key state: its first and its latest report.
struct StateStamps {
  std::int64_t firstUs = 0;
  std::int64_t lastUs = 0;
};

class ChordCapture final : public ReportConsumer {
 public:
  ChordCapture(std::int32_t side, KeyReportQueue& queue, KeyEventSink& sink, SchemeSource scheme = currentScheme);

  CaptureProgress captureStep(std::int64_t nowUs) override;
  // Takes the next finished key state.
  void detectChord(const KeyReport& state, const StateStamps& stamps = {});
  // Decodes the chord and hands its key event to the sink.
  void emitChord(const KeyReport& chord, std::int64_t beganUs = 0, std::int64_t completedUs = 0);

  // The key state being merged now (pressed count -1: already handed on).
  const KeyReport& currentState() const { return current_; }

 private:
  // Which way the keys are going.
  enum class Phase {
    None,     // nothing struck yet
    Press,    // keys are going down
    Release,  // keys are coming up
  };

  void forget(const Forgetting& forgetting);
  // Whether the report belongs to a chord that is being forgotten.
  bool ignored(const KeyReport& report);
  void takeReport(const KeyReport& report);
  // Begins a new state with the report; an all-released one is finished at once.
  void startState(const KeyReport& report);
  // Hands the current state to the detector unless it repeats the last one.
  void handOnCurrent();
  bool currentIsIdle() const { return current_.pressedCount == kIdleCount; }
  void markCurrentIdle() { current_.pressedCount = kIdleCount; }
  CaptureProgress progress() const;

  // The pressed count of a current state that has been handed on already.
  static constexpr std::int32_t kIdleCount = -1;

  const std::int32_t side_;
  KeyReportQueue& queue_;
  KeyEventSink& sink_;
  SchemeSource scheme_;

  KeyReport current_{.pressedCount = kIdleCount};  // the key state being merged
  StateStamps currentStamps_{};
  std::int32_t lastPassedCode_ = 0;  // the chord code last handed to the detector
  KeyReport previous_{};           // the detector's fullest state of the chord being played
  std::int64_t chordBeganUs_ = 0;  // the first key-down of the chord being played
  Phase phase_ = Phase::None;
  bool armed_ = false;             // a chord has been pressed and not yet emitted

  bool keysDown_ = false;          // the latest report had a key pressed
  bool ignoring_ = false;          // keys of a forgotten chord are still down
  std::int64_t forgetBeforeUs_ = kNothingToForget;
};

}  // namespace qiru
