// The match's events, built from the round's state at the moment they
// happen and handed to the observers.

#include "device/side.h"
#include "match/match_engine.h"
#include "materials/text_split.h"
#include "materials/utf8_path.h"

namespace qiru {
namespace {

template <typename Event>
void tell(const std::vector<MatchObserver*>& observers, void (MatchObserver::*handler)(const Event&),
          const Event& event) {
  for (MatchObserver* observer : observers) (observer->*handler)(event);
}

std::int32_t chordsIn(const std::string& chords) {
  std::int32_t count = 0;
  for (const std::string_view chord : splitAt(chords, kChordSeparator)) count += chord.empty() ? 0 : 1;
  return count;
}

}  // namespace

void MatchEngine::publishRoundStarted(bool newMatch) {
  if (observers_.empty()) return;
  RoundStarted event;
  event.settings = settings_;
  event.newMatch = newMatch;
  event.materialPath = utf8Of(materialPath_);
  event.entries = materials_.Count();
  if (MatchMachines* machines = machines_.load()) {
    for (const std::int32_t s : {kRedSide, kBlueSide}) event.machineNumbers[sideSlot(s)] = machines->machineNumber(s);
  }
  event.startedAtMs = clock_.nowMs();
  tell(observers_, &MatchObserver::onRoundStarted, event);
}

void MatchEngine::publishChordJudged(const KeyEvent& key, ChordOutcome outcome) {
  if (observers_.empty()) return;
  const SideState& side = sideState(key.side);
  const ChordJudged event{key.side, side.keyCount, key.chord, key.name, side.entryPosition, outcome, clock_.nowMs()};
  tell(observers_, &MatchObserver::onChordJudged, event);
}

void MatchEngine::publishEntryEnded(std::int32_t s, EntryEnd end) {
  if (observers_.empty()) return;
  const SideState& side = sideState(s);
  MaterialEntry entry;
  materials_.GetEntry(side.entryPosition, entry);
  EntryEnded event;
  event.side = s;
  event.shared = sharedEntry();
  event.end = end;
  event.position = side.entryPosition;
  event.text = std::move(entry.text);
  event.code = std::move(entry.code);
  event.answerChords = end == EntryEnd::Taken ? chordsIn(side.input.chords) : 0;
  event.shownAtMs = side.shownAt;
  event.endedAtMs = clock_.nowMs();
  tell(observers_, &MatchObserver::onEntryEnded, event);
}

void MatchEngine::publishRoundResult(const Verdict& verdict) {
  if (observers_.empty()) return;
  RoundResult event;
  event.mode = settings_.mode;
  for (const std::int32_t s : {kRedSide, kBlueSide}) {
    event.scores[sideSlot(s)] = sideState(s).roundScore;
    event.teamTotals[sideSlot(s)] = sideState(s).teamTotal;
  }
  event.relayFinished = settings_.mode == MatchMode::TeamRelay && settings_.teamSize == 0;
  const auto [red, blue] = event.scores;
  event.winner = red == blue ? 0 : (red > blue ? kRedSide : kBlueSide);
  event.verdict = verdict;
  event.stopped = roundStopped_;
  event.endedAtMs = clock_.nowMs();
  tell(observers_, &MatchObserver::onRoundEnded, event);
}

}  // namespace qiru
