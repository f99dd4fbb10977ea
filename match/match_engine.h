#pragma once
// The match: the report-in of the machines, the start key and countdown,
// the round with its worker thread and match clock, answer checking and
// scoring, the result panel, the confirm key, and the team relay across
// rounds. It is the key-event sink of both reader threads; it shows
// everything through the control model and tells the user through the
// message service; every clock read and wait goes through the clock.
//
// Threads. onKeyEvent runs on the reader threads (and so startMatch with its
// countdown, and finishRound); one worker thread per round runs the event
// loop; onTick runs on the window's thread from the match clock 时钟1.
// matchLock guards the event queue, the sides, the settings and every change
// of the state; the state itself is atomic and read without it.
//
// Wiring: construct it, build the keystroke path with it as the sink, then
// attachMachines(); installMatchHandlers() connects the match clock and the
// option boxes' stepping.

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "input/key_event.h"
#include "match/match_events.h"
#include "match/match_machines.h"
#include "match/match_prompts.h"
#include "match/match_settings.h"
#include "match/result_texts.h"
#include "match/side_state.h"
#include "materials/material_set.h"
#include "materials/question_bank.h"
#include "support/clock.h"
#include "support/clock_event.h"
#include "support/clock_lock.h"
#include "support/clock_loop.h"
#include "support/messages.h"
#include "ui/control_model.h"

namespace qiru {

// How long an entry may stay unanswered before the next one replaces it.
inline constexpr std::int64_t kEntryTimeoutMs = 5000;
// The match clock's period while a round runs.
inline constexpr std::int32_t kMatchTickMs = 100;
// The worker's longest wait when it finds the event queue empty (a key
// event wakes it at once).
inline constexpr std::int64_t kEmptyQueueWaitMs = 50;
// In the shared-entry modes the worker takes a chord only once no chord of
// the other side that was completed earlier can still come: once both
// readers have caught up to its stamp. A reader that has not caught up
// within this time is stalled, not holding a report that is still crossing
// the bus and the ring (which takes far less): the worker decides without
// it rather than keep the players waiting.
inline constexpr std::int64_t kChordSettlingUs = 3'000;
// How often the worker looks again while it waits for the readers.
inline constexpr std::int64_t kSettlingLookMs = 1;
// Each step of the countdown ("倒计时开始", "3", "2", "1").
inline constexpr std::int32_t kCountdownStepMs = 800;
// The result stands this long before the confirm key counts.
inline constexpr std::int32_t kResultPauseMs = 1000;

// Chord of the start key: the right hand's I key alone.
inline constexpr std::string_view kStartChord = ":I";

inline constexpr std::string_view kHiddenEntry = "……";
// How long the box about a missing material stays up.
inline constexpr std::int32_t kNoMaterialMessageMs = 5000;
inline constexpr std::string_view kNoMaterialCaption = "错误：";
inline constexpr std::string_view kNoMaterialText =
    "没有选定比赛素材，比赛无法开始。\r\n请在“素材”页选择一个比赛文件（题库为空时先导入一个），再按右I键开始比赛。";

class MatchEngine final : public KeyEventSink {
 public:
  MatchEngine(ui::ControlModel& model, Clock& clock, MessageService& messages, MaterialSet& materials,
              const QuestionBank& bank);
  // Ends the round's worker thread (stop()).
  ~MatchEngine() override;
  MatchEngine(const MatchEngine&) = delete;
  MatchEngine& operator=(const MatchEngine&) = delete;

  // The machines the match plays on; until they are attached, keys are
  // dropped.
  void attachMachines(MatchMachines& machines) { machines_.store(&machines); }

  // Ends the round's worker and waits until it has ended: once this
  // returns, the engine touches neither the machines nor anything else it
  // was given. Stop the reader threads and the match clock first; a key
  // event that still comes starts nothing. Later calls do nothing.
  void stop();

  // Observers of the match's events (match_events.h), called in the order
  // they were added. Add and remove them between rounds.
  void addObserver(MatchObserver& observer);
  void removeObserver(MatchObserver& observer);

  void onKeyEvent(const KeyEvent& event) override;
  // A key event of a running round is only queued for the worker; at other
  // times it may start a round, with its countdown, or wait for the lock.
  bool takesEventsWithoutWaiting() override;
  // What the round's worker does with one queued key event of a running
  // round: count it, update the side's input, write its key record line,
  // check and score it. Takes the match lock.
  void processKeyEvent(const KeyEvent& event);
  // The match clock's tick: elapsed time, time limit, flash and time-outs.
  void onTick();
  // Whether the tick, delivered now, would not wait on the clock: the match
  // lock is free and the tick cannot close the round.
  bool tickWithoutWaiting();
  // Ends the round now, during its countdown or while it runs, through the
  // usual close with the scores so far; its result is marked as stopped.
  // Does nothing at other times. Call it from the window's thread: the
  // close waits out the result pause there, as a time limit's does.
  void stopRound();
  // Whether the round last closed was stopped (false once the next starts).
  bool roundStopped();
  // The prompts for machine keys (default: the machines' own wording).
  void setPrompts(MatchPrompts prompts);

  MatchState state() const { return state_.load(); }
  ClockLock& matchLock() { return matchLock_; }
  // Copies taken under the match lock.
  MatchSettings settings();
  SideState side(std::int32_t side);
  // What the side is shown now while a round runs: its entry's position and
  // text (position 0: none). Bots read the screen through this.
  struct ShownEntry {
    std::int32_t position = 0;
    std::string text;
    std::int64_t shownAt = 0;  // ms since 1970
  };
  ShownEntry shownEntry(std::int32_t side);

 private:
  // Match flow (match_engine.cpp).
  void onIdleKey(MatchMachines& machines, const KeyEvent& event);
  void startMatch(MatchMachines& machines);
  void runCountdown();
  void finishRound(MatchMachines& machines);
  void showIdleScreen();
  void setState(MatchState state);
  void layOut();
  void enableOptionTabs(bool enabled);
  // prepare_match.cpp
  bool prepareMatch();
  void resetDisplays();
  bool loadMaterial(std::int32_t entries);
  // event_loop.cpp
  std::unique_ptr<ClockLoop> startWorker(std::uint64_t round);
  // Whether the worker's next step cannot wait on the clock: the round is
  // over, or the queue is empty and the match lock free.
  bool workerStepWithoutWaiting(std::uint64_t round);
  bool roundOver(std::uint64_t round) const;
  // One turn of the worker: how long to wait before the next, or none when
  // the round is over.
  std::int64_t eventStep(std::uint64_t round);
  void processEvent(const KeyEvent& event);
  // Whether a chord begun then is lost: begun before the round, or in the
  // shared-entry modes before a side last took the shared entry.
  bool lostChord(const KeyEvent& event);
  // Whether every chord of the given sides completed by stampUs has been
  // taken from the readers (or the settling time is over).
  bool settledUpTo(std::int64_t stampUs, bool bothSides, std::int32_t side);
  void answerTaken(std::int32_t s);
  // The side's input label in red after a wrong chord, until the next.
  void markWrongInput(std::int32_t s, bool wrong);
  // advance_side.cpp
  void advanceSide(std::int32_t s);
  void showEntry(ui::Control pane, std::int32_t position);
  // Each step of a tick; false when the round has closed and the tick ends.
  bool tickTimeLimit(std::int64_t elapsedMs);
  void tickFlash(std::int64_t nowMs);
  // After the sides' entries or the round's start change.
  void updateTickMayClose();
  bool tickTimeOut(std::int32_t s, std::int64_t nowMs);
  // close_round.cpp
  void closeRound();
  // publish_events.cpp: each event built from the state at hand and handed
  // to the observers, with the match lock held.
  void publishRoundStarted(bool newMatch);
  void publishChordJudged(const KeyEvent& event, ChordOutcome outcome);
  void publishEntryEnded(std::int32_t s, EntryEnd end);
  void publishRoundResult(const Verdict& verdict);
  void closeStoppedRound();
  void showGoOn();

  SideState& sideState(std::int32_t side) { return sides_[static_cast<std::size_t>(side - 1)]; }
  bool sharedEntry() const { return !sidesAdvanceAlone(settings_.mode); }
  bool running() const { return state() == MatchState::Running; }

  ui::ControlModel& model_;
  Clock& clock_;
  MessageService& messages_;
  MaterialSet& materials_;
  const QuestionBank& bank_;
  std::atomic<MatchMachines*> machines_{nullptr};

  ClockLock matchLock_;
  std::atomic<MatchState> state_{MatchState::Idle};
  // Guarded by matchLock_.
  MatchSettings settings_;
  std::array<SideState, 2> sides_;
  std::int64_t matchStartedAt_ = 0;
  // From when a tick may close the running round (its time limit, or an
  // entry's time-out, which may end the material); written under the lock.
  std::atomic<std::int64_t> tickMayCloseFromMs_{0};
  // Chords begun before this stamp are lost: the round's start, and in the
  // shared-entry modes each answer that took the entry. A time-out moves
  // the entry on without taking it, so a chord under way then still counts.
  std::int64_t lostBeforeUs_ = 0;
  // In the order the chords were completed (then begun).
  std::deque<KeyEvent> eventQueue_;
  // Whether eventQueue_ holds an event, readable without the lock: an empty
  // look at the queue is a step the clock may run without waking the worker.
  std::atomic<bool> eventsQueued_{false};
  ClockEvent eventQueued_;
  std::filesystem::path materialPath_;  // of the round being played
  std::vector<MatchObserver*> observers_;
  std::unique_ptr<ClockLoop> worker_;
  // Which round the worker serves: a worker of an earlier round that has
  // not yet noticed its end never takes an event of the next.
  std::atomic<std::uint64_t> round_{0};
  std::atomic<bool> shuttingDown_{false};
  // Set by stopRound while a round counts down or runs; the countdown or
  // the stop itself closes the round. Cleared as the next match starts.
  std::atomic<bool> stopRequested_{false};
  // Guarded by matchLock_.
  bool roundStopped_ = false;
  std::array<bool, 2> wrongInputMarked_{};
  MatchPrompts prompts_;
};

// Connects the match clock 时钟1 to onTick and the option boxes' wheel and
// spin buttons to their stepping.
void installMatchHandlers(ui::ControlModel& model, MatchEngine& engine);

}  // namespace qiru
