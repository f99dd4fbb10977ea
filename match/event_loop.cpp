// The round's worker: takes the key events in the order they came, records
// each, checks the side's answer and scores it.

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

void MatchEngine::runEventLoop(std::uint64_t round) {
  for (std::int64_t waitMs = 0; waitMs != kRoundOver; waitMs = eventStep(round)) {
    if (waitMs > 0) preciseDelay(clock_, static_cast<std::int32_t>(waitMs));
  }
}

std::int64_t MatchEngine::eventStep(std::uint64_t round) {
  const auto over = [&] { return shuttingDown_ || round_ != round || !running(); };
  if (over()) return kRoundOver;
  std::lock_guard hold(matchLock_);
  if (over()) return kRoundOver;
  if (eventQueue_.empty()) return kEmptyQueueWaitMs;
  const KeyEvent event = std::move(eventQueue_.front());
  eventQueue_.pop_front();
  processEvent(event);
  return 0;
}

void MatchEngine::processKeyEvent(const KeyEvent& event) {
  std::lock_guard hold(matchLock_);
  processEvent(event);
}

void MatchEngine::processEvent(const KeyEvent& event) {
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
  if (!toCheck) return;
  model_.setStatusPaneText(ui::Control::状态条1, s - 1, side.input.names + " " + side.input.chords);
  if (!answered) return;
  ++side.roundScore;
  model_.setText(scoreLabel(s), std::to_string(side.roundScore));
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
    for (SideState& side : sides_) side.input.clear();
    eventQueue_.clear();
    if (MatchMachines* machines = machines_.load()) machines->clearReportQueues();
  } else {
    sideState(s).input.clear();
    model_.setText(onlineLabel(s), "");
  }
  advanceSide(s);
}

}  // namespace qiru
