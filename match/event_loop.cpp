// The round's worker: takes the key events in the order the chords were
// completed, records each, checks the side's answer and scores it.

#include <mutex>
#include <string>

#include "device/side.h"
#include "match/chord_judgement.h"
#include "match/key_record.h"
#include "match/match_engine.h"
#include "match/online_labels.h"
#include "match/side_controls.h"
#include "support/timing.h"

namespace qiru {
namespace {

// What the worker's step answers once its round is over.
inline constexpr std::int64_t kRoundOver = -1;

}  // namespace

std::unique_ptr<ClockLoop> MatchEngine::startWorker(std::uint64_t round) {
  // Between steps it waits outside the match lock; a key event or the end
  // of the round wakes it.
  return std::make_unique<ClockLoop>(
      clock_,
      ClockSteps{.step =
                     [this, round] {
                       const std::int64_t waitMs = eventStep(round);
                       return waitMs == kRoundOver ? kLoopEnds : waitMs;
                     },
                 .woken = [this] { return eventQueued_.takeUnderClockLock(); },
                 .nextStepWithoutWaiting = [this, round] { return workerStepWithoutWaiting(round); }},
      StepsMayWait::AtTimes);
}

bool MatchEngine::roundOver(std::uint64_t round) const { return shuttingDown_ || round_ != round || !running(); }

bool MatchEngine::workerStepWithoutWaiting(std::uint64_t round) {
  return roundOver(round) || (!eventsQueued_ && matchLock_.heldByNobody());
}

std::int64_t MatchEngine::eventStep(std::uint64_t round) {
  if (roundOver(round)) return kRoundOver;
  std::lock_guard hold(matchLock_);
  if (roundOver(round)) return kRoundOver;
  if (eventQueue_.empty()) return kEmptyQueueWaitMs;
  // The first to finish takes a shared entry: a chord of the other side
  // completed earlier may still be with its reader.
  if (sharedEntry() && !settledUpTo(eventQueue_.front().completedUs, true, eventQueue_.front().side)) {
    return kSettlingLookMs;
  }
  const KeyEvent event = std::move(eventQueue_.front());
  eventQueue_.pop_front();
  eventsQueued_ = !eventQueue_.empty();
  processEvent(event);
  return 0;
}

void MatchEngine::processKeyEvent(const KeyEvent& event) {
  std::lock_guard hold(matchLock_);
  processEvent(event);
}

bool MatchEngine::settledUpTo(std::int64_t stampUs, bool bothSides, std::int32_t side) {
  for (const KeyEvent& queued : eventQueue_) {
    if (queued.completedUs >= stampUs) break;
    if (bothSides || queued.side == side) return false;
  }
  if (clock_.monotonicUs() >= stampUs + kChordSettlingUs) return true;
  MatchMachines* machines = machines_.load();
  if (machines == nullptr) return true;
  for (const std::int32_t t : {kRedSide, kBlueSide}) {
    if ((bothSides || t == side) && machines->caughtUpUs(t) <= stampUs) return false;
  }
  return true;
}

bool MatchEngine::lostChord(const KeyEvent& event) { return event.beganUs < lostBeforeUs_; }

void MatchEngine::processEvent(const KeyEvent& event) {
  // Not counted, not recorded, not checked.
  if (lostChord(event)) return;
  const std::int32_t s = event.side;
  SideState& side = sideState(s);
  ++side.keyCount;
  const bool toCheck = side.input.take(event, materials_.ChordCount(side.entryPosition));
  const bool answered = toCheck && materials_.Matches(side.entryPosition, side.input.names, side.input.chords);
  const bool wrong =
      toCheck && !answered && !continuesAnswer(side.input.chords, materials_.AnswerCode(side.entryPosition));
  model_.setText(onlineLabel(s), side.input.names);
  markWrongInput(s, wrong);
  model_.appendText(keyRecordBox(s), keyRecordLine(side.keyCount, event), wrong);
  if (!toCheck) return publishChordJudged(event, ChordOutcome::Cleared);
  model_.setStatusPaneText(ui::Control::状态条1, s - 1, side.input.names + " " + side.input.chords);
  publishChordJudged(event, answered ? ChordOutcome::Answered : ChordOutcome::Open);
  if (!answered) return;
  ++side.roundScore;
  model_.setText(scoreLabel(s), std::to_string(side.roundScore));
  publishEntryEnded(s, EntryEnd::Taken);
  answerTaken(s);
}

void MatchEngine::markWrongInput(std::int32_t s, bool wrong) {
  bool& marked = wrongInputMarked_[static_cast<std::size_t>(s - 1)];
  if (marked == wrong) return;
  marked = wrong;
  model_.setBackground(onlineLabel(s), wrong ? ui::kWrongChordBackground : kConnectedBackground);
  model_.setTextColour(onlineLabel(s), wrong ? ui::kWhite : sideColour(s));
}

void MatchEngine::answerTaken(std::int32_t s) {
  if (sharedEntry()) {
    // The first side to complete the entry takes it: the other side's
    // chords of the same moment are dropped, queued or not.
    lostBeforeUs_ = clock_.monotonicUs();
    for (SideState& side : sides_) side.input.clear();
    eventQueue_.clear();
    eventsQueued_ = false;
    if (MatchMachines* machines = machines_.load()) machines->clearReportQueues();
  } else {
    sideState(s).input.clear();
    model_.setText(onlineLabel(s), "");
  }
  advanceSide(s);
}

}  // namespace qiru
