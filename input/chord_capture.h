#pragma once
// Chord capture: turns one machine's stream of key reports into whole
// chords. Reports that arrive within mergeWindowMs of the state being built
// merge into it; each finished key state goes to the chord detector, which
// emits the fullest key set of a chord once the player starts letting go.
// Each emitted chord is decoded with the fingering scheme and handed to the
// key-event sink.
//
// One instance per machine, run only by that machine's reader thread
// (device/reader_threads.h) through captureStep. It never waits itself: the
// step says how long the reader should wait before polling again.

#include <cstdint>
#include <functional>

#include "device/key_report.h"
#include "device/key_report_queue.h"
#include "device/report_consumer.h"
#include "input/key_event.h"
#include "steno/fingering_scheme.h"

namespace qiru {

// Reports at most this long after the current state's time merge into it.
inline constexpr std::int64_t mergeWindowMs = 20;
// The wait after a poll that found the queue empty.
inline constexpr std::int64_t emptyPollWaitMs = 20;
// Empty polls are counted up to this and start again from 0 (about once a
// second), so that a state left over can be handed on again.
inline constexpr std::int32_t kEmptyPollWrapCount = 50;
// Key states claiming more keys than this are not chords.
inline constexpr std::int32_t kMaxChordKeyCount = 20;

// Where the decoder's tables come from; the published scheme by default.
using SchemeSource = std::function<const FingeringScheme&()>;

class ChordCapture final : public ReportConsumer {
 public:
  ChordCapture(std::int32_t side, KeyReportQueue& queue, KeyEventSink& sink, SchemeSource scheme = currentScheme);

  // One poll of the queue: takes at most one report.
  std::int64_t captureStep() override;
  // Takes the next finished key state.
  void detectChord(const KeyReport& state);
  // Decodes the chord and hands its key event to the sink.
  void emitChord(const KeyReport& chord);

  // The key state being merged now (pressed count -1: already handed on).
  const KeyReport& currentState() const { return current_; }

 private:
  // Which way the keys are going.
  enum class Phase {
    None,     // nothing struck yet
    Press,    // keys are going down
    Release,  // keys are coming up
  };

  void takeReport(const KeyReport& report);
  // Hands the current state to the detector unless it repeats the last one.
  void handOnCurrent();
  bool currentIsIdle() const { return current_.pressedCount == kIdleCount; }
  void markCurrentIdle() { current_.pressedCount = kIdleCount; }

  // The pressed count of a current state that has been handed on already.
  static constexpr std::int32_t kIdleCount = -1;

  const std::int32_t side_;
  KeyReportQueue& queue_;
  KeyEventSink& sink_;
  SchemeSource scheme_;

  KeyReport current_{};            // the key state being merged
  std::int32_t lastPassedCode_ = 0;  // the chord code last handed to the detector
  std::int32_t emptyPolls_ = 0;      // polls in a row that found the queue empty
  KeyReport previous_{};           // the detector's fullest state of the chord being played
  Phase phase_ = Phase::None;
  bool armed_ = false;             // a chord has been pressed and not yet emitted
};

}  // namespace qiru
