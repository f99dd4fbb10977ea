// Chord capture: from key reports to key events. The reader thread's loop
// is played out here without threads: each report enters the queue at its
// time, and the capture step runs every millisecond, as often as a reader
// woken by each report and by the step's own deadline could run it.

#include "input/chord_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <string>
#include <vector>

#include "device/virtual/chord_player.h"
#include "tests/device/chord_keys.h"
#include "tests/input/letters_only_scheme.h"

namespace qiru {
namespace {

using testing::keysOf;
using testing::lettersOnly;

KeyReport keyStateOf(std::string_view chord, std::int64_t timeMs = 0) {
  const PressedKeys keys = keysOf(chord);
  return {std::popcount(static_cast<std::uint32_t>(keys.left)) + std::popcount(static_cast<std::uint32_t>(keys.right)),
          keys.left, keys.right, chordCodeOf(keys.right, keys.left), timeMs * kUsPerMs};
}

std::string chordTextOf(std::int32_t chordCode) { return ChordCodec().codeText(chordCode); }

struct Emitted {
  std::int64_t atMs;
  KeyEvent event;
};

// What happens to the machine at a moment of a run.
struct Mishap {
  std::int64_t forgetAtMs = -1;      // chords begun before it are forgotten (an answer taken)
  bool machineReset = false;         // ... and the machine is reset (unplugged) then
  std::int64_t silentUntilMs = -1;   // its reports from then until this are lost
  std::int64_t stalledUntilMs = -1;  // the reader does not run until this
};

class CaptureRun final : public KeyEventSink {
 public:
  explicit CaptureRun(SchemeSource scheme = lettersOnly, std::int32_t side = 1)
      : capture(side, queue, *this, std::move(scheme)) {}

  // What the reports say in bytes 5-7 (the machine number unless told).
  std::uint32_t selfReport = 12345;

  void onKeyEvent(const KeyEvent& event) override { emitted.push_back({nowMs_, event}); }

  // The machine's keys become `chord` at atMs (times in order).
  void at(std::int64_t atMs, std::string_view chord) { changes_.push_back({atMs, keysOf(chord)}); }
  void play(const std::vector<KeyChange>& changes) { changes_.insert(changes_.end(), changes.begin(), changes.end()); }

  // Steps until endMs as the reader thread would.
  void runUntil(std::int64_t endMs, const Mishap& mishap = {}) {
    for (; nowMs_ <= endMs; ++nowMs_) {
      if (nowMs_ == mishap.forgetAtMs) {
        if (mishap.machineReset) queue.reset();
        queue.forgetChordsBefore(nowMs_ * kUsPerMs);
      }
      for (; next_ < changes_.size() && changes_[next_].atMs <= nowMs_; ++next_) {
        const bool silenced = nowMs_ >= mishap.forgetAtMs && nowMs_ < mishap.silentUntilMs;
        if (!silenced) push(changes_[next_]);
      }
      if (nowMs_ >= mishap.stalledUntilMs) capture.captureStep(nowMs_ * kUsPerMs);
    }
  }

  // The reader comes by late and finds every report queued: merging goes
  // by the reports' times alone.
  void takeAll() {
    for (; next_ < changes_.size(); ++next_) push(changes_[next_]);
    capture.captureStep(0);
    EXPECT_TRUE(queue.isEmpty());
  }

  std::vector<std::string> chords() const {
    std::vector<std::string> chords;
    for (const Emitted& e : emitted) chords.push_back(e.event.chord);
    return chords;
  }

  KeyReportQueue queue;
  ChordCapture capture;
  std::vector<Emitted> emitted;

 private:
  void push(const KeyChange& change) {
    InterruptData data{kLongReportLength};
    placeKeyBytes(kLongReportLength, keyBytesFor(change.keys), data.data());
    placeSelfReport(selfReport, data.data());
    queue.push(data.data(), change.atMs * kUsPerMs);
  }

  std::vector<KeyChange> changes_;
  std::size_t next_ = 0;
  std::int64_t nowMs_ = 0;
};

using Chords = std::vector<std::string>;

// Reports within 20 ms of the state being built merge into it (its keys are
// the union); while one hand has no key, the state takes the newer time.
TEST(ChordCapture, MergeWindow) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::int64_t, std::string_view>> reports;
    std::string_view chord;
    std::int32_t pressedCount;
    std::int64_t timeMs;
  };
  const Case cases[] = {
      {"right hand joins 15 ms later", {{0, "AB:"}, {15, "AB:FL"}}, "AB:FL", 4, 15},
      {"keys merge even when some came up", {{0, "AB:"}, {15, ":FL"}}, "AB:FL", 4, 15},
      {"20 ms is still within the window", {{0, "AB:"}, {20, ":FL"}}, "AB:FL", 4, 20},
      {"21 ms starts a new state", {{0, "AB:"}, {21, ":FL"}}, ":FL", 2, 21},
      {"both hands down: the time stays", {{0, "AB:F"}, {10, "ANB:F"}, {25, "ANB:FL"}}, "ANB:FL", 5, 25},
      {"both hands down: merged", {{0, "AB:F"}, {10, "ANB:F"}, {20, "ANB:FL"}}, "ANB:FL", 5, 0},
  };
  for (const Case& c : cases) {
    CaptureRun run;
    for (const auto& [atMs, chord] : c.reports) run.at(atMs, chord);
    run.takeAll();
    const KeyReport& state = run.capture.currentState();
    EXPECT_EQ(chordTextOf(state.chordCode), c.chord) << c.what;
    EXPECT_EQ(state.pressedCount, c.pressedCount) << c.what;
    EXPECT_EQ(state.timeUs, c.timeMs * kUsPerMs) << c.what;
  }
}

// The detector, fed finished key states: it emits the fullest state of a
// chord once the player is letting go.
TEST(ChordCapture, DetectorEmitsTheFullestStateOnRelease) {
  struct Case {
    const char* what;
    std::vector<std::string_view> states;
    Chords emitted;
  };
  const Case cases[] = {
      {"all keys up at once", {"AB:FL", ":"}, {"AB:FL"}},
      {"key by key until a hand is empty",
       {"A:", "AB:", "AB:F", "AB:FL", "B:FL", "B:L", ":L", ":"},
       {"AB:FL"}},
      {"one key up waits", {"AB:FL", "B:FL"}, {}},
      {"two keys up, one of each hand, wait", {"AB:FL", "B:L"}, {}},
      {"two keys of one hand let go", {"ANB:FL", "A:FL"}, {"ANB:FL"}},
      {"three keys up let go", {"ANB:FLD", "A:FL"}, {"ANB:FLD"}},
      {"keys counted up from the fullest state", {"ANB:FLD", "AB:FLD", "AB:FL", "A:FL", ":"}, {"ANB:FLD"}},
      {"the right hand empties first", {"AB:F", "AB:"}, {"AB:F"}},
      {"a roll emits the chord being left", {"AB:FL", "A:FLI", ":"}, {"AB:FL", "A:FLI"}},
      {"the same chord twice with a release between", {"AB:FL", ":", "AB:FL", ":"}, {"AB:FL", "AB:FL"}},
      {"more than 20 keys is no chord", {"RHANVFLUOGBDI:RHANVFLUOGBDI", ":"}, {}},
  };
  for (const Case& c : cases) {
    CaptureRun run;
    for (const std::string_view state : c.states) run.capture.detectChord(keyStateOf(state));
    EXPECT_EQ(run.chords(), c.emitted) << c.what;
  }
}

// Whole chords as a player strikes them, key by key.
TEST(ChordCapture, StrokesAsPlayed) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::int64_t, std::string_view>> chords;
    PlayingStyle style;
    Chords emitted;
  };
  const Case cases[] = {
      {"one chord", {{0, "BA:FL"}}, {}, {"AB:FL"}},
      {"the same chord twice", {{0, "BA:FL"}, {300, "BA:FL"}}, {}, {"AB:FL", "AB:FL"}},
      {"held for three seconds", {{0, "BA:FL"}}, {.holdMs = 3000}, {"AB:FL"}},
      {"slow fingers, 30 ms apart", {{0, "BA:FLI"}}, {.keyDownGapMs = 30, .holdMs = 200, .keyUpGapMs = 30}, {"AB:FLI"}},
      {"a single key", {{0, ":I"}, {200, ":I"}}, {}, {":I", ":I"}},
      {"one chord after another", {{0, "BA:FL"}, {150, "RNO:"}, {300, ":UO"}}, {}, {"AB:FL", "RNO:", ":UO"}},
      // The last key of a chord comes up within the merge window of the
      // one before: the release must still finish the chord.
      {"two keys of one hand, up 4 ms apart", {{0, ":UO"}, {200, ":UO"}}, {}, {":UO", ":UO"}},
      {"a quick tap", {{0, ":I"}, {100, "BA:FL"}}, {.holdMs = 10}, {":I", "AB:FL"}},
  };
  for (const Case& c : cases) {
    CaptureRun run;
    std::vector<std::int64_t> upMs;  // when each chord's last key came up
    for (const auto& [startMs, chord] : c.chords) {
      const auto strokes = chordStrokes(startMs, keysOf(chord), c.style);
      run.play(strokes);
      upMs.push_back(strokes.back().atMs);
    }
    run.runUntil(upMs.back() + 2000);
    EXPECT_EQ(run.chords(), c.emitted) << c.what;
    // Each chord reaches the match by the time its last key comes up, and
    // carries the arrival of its first key-down and of the report that let
    // it go.
    for (std::size_t i = 0; i < std::min(upMs.size(), run.emitted.size()); ++i) {
      const Emitted& emitted = run.emitted[i];
      EXPECT_LE(emitted.atMs, upMs[i]) << c.what << ", chord " << i + 1;
      EXPECT_EQ(emitted.event.beganUs, c.chords[i].first * kUsPerMs) << c.what << ", chord " << i + 1;
      EXPECT_LE(emitted.event.completedUs, emitted.atMs * kUsPerMs) << c.what << ", chord " << i + 1;
      EXPECT_GT(emitted.event.completedUs, emitted.event.beganUs) << c.what << ", chord " << i + 1;
    }
  }
}

// A chord begun before an answer was taken (or a round began, or its
// machine went away) never comes out, wherever it was at that moment; the
// next chord does, alone.
TEST(ChordCapture, ForgettingLosesTheChordInProgressOnly) {
  struct Case {
    const char* what;
    Mishap mishap;
    Chords emitted;
  };
  // :UO goes down at 0 and 4 and comes up at 64 and 68; BA:FL follows at 300.
  const Case cases[] = {
      {"keys still down", {.forgetAtMs = 30}, {"AB:FL"}},
      {"half released", {.forgetAtMs = 66}, {"AB:FL"}},
      {"all keys up before", {.forgetAtMs = 150}, {":UO", "AB:FL"}},
      {"struck before, taken only after", {.forgetAtMs = 80, .stalledUntilMs = 100}, {"AB:FL"}},
      {"unplugged half struck", {.forgetAtMs = 30, .machineReset = true, .silentUntilMs = 290}, {"AB:FL"}},
  };
  for (const Case& c : cases) {
    CaptureRun run;
    run.play(chordStrokes(0, keysOf(":UO"), {}));
    run.play(chordStrokes(300, keysOf("BA:FL"), {}));
    run.runUntil(1000, c.mishap);
    EXPECT_EQ(run.chords(), c.emitted) << c.what;
  }
}

// A machine whose reports carry no number yet: its all-released reports
// give the queue nothing to learn, and still let the chord go.
TEST(ChordCapture, ReleaseBeforeTheMachineHasReportedIn) {
  CaptureRun run;
  run.selfReport = 0;
  run.play(chordStrokes(0, keysOf(":UO"), {}));
  run.play(chordStrokes(200, keysOf("BA:FL"), {}));
  run.runUntil(1000);
  EXPECT_EQ(run.chords(), (Chords{":UO", "AB:FL"}));
  EXPECT_LE(run.emitted.front().atMs, 200);
}

TEST(ChordCapture, RollThroughTheQueue) {
  CaptureRun run;
  run.at(0, "AB:FL");
  run.at(100, "A:FLI");
  run.at(200, ":");
  run.runUntil(1000);
  EXPECT_EQ(run.chords(), (Chords{"AB:FL", "A:FLI"}));
}

// A chord whose name decodes to the colon alone is named by its keys.
TEST(ChordCapture, ColonNameBecomesTheCodeText) {
  static FingeringScheme scheme;
  const ChordCodec codec;
  scheme.schemeTextPool.append(":");
  scheme.schemeTextPool.append("EN");
  scheme.functionMap.put(codec.twoAreaCodeOf("RH:"), 1);
  scheme.functionMap.put(codec.twoAreaCodeOf(":I"), 2);

  CaptureRun run([]() -> const FingeringScheme& { return scheme; }, 2);
  run.capture.emitChord(keyStateOf("RH:"));
  run.capture.emitChord(keyStateOf(":I"));
  run.capture.emitChord(keyStateOf("BA:FL"));
  ASSERT_EQ(run.emitted.size(), 3u);
  EXPECT_EQ(run.emitted[0].event, (KeyEvent{2, "RH:", "RH:"}));
  EXPECT_EQ(run.emitted[1].event, (KeyEvent{2, ":I", "EN"}));
  EXPECT_EQ(run.emitted[2].event, (KeyEvent{2, "AB:FL", "AB:FL"}));
}

}  // namespace
}  // namespace qiru
