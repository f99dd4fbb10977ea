// Moving the sides through the material, and the match clock's tick: the
// elapsed time, the time limit, hiding entries (flash) and the time-out of
// an unanswered entry.

#include <algorithm>
#include <limits>
#include <mutex>
#include <string>

#include "match/match_engine.h"
#include "match/side_controls.h"
#include "support/timing.h"
#include "ui/question_pane.h"

namespace qiru {

void MatchEngine::advanceSide(std::int32_t s) {
  // In the shared-entry modes any call moves both sides together.
  const std::int32_t first = sharedEntry() ? kRedSide : s;
  const std::int32_t last = sharedEntry() ? kBlueSide : s;
  const std::int32_t position = sideState(first).entryPosition + 1;
  for (std::int32_t t = first; t <= last; ++t) sideState(t).entryPosition = position;
  if (position > materials_.Count()) {
    closeRound();
    return;
  }
  showEntry(questionPane(first), position);
  const std::int64_t now = clock_.nowMs();
  const std::int64_t nowUs = clock_.monotonicUs();
  // Multi-chord answers grow to the left, so they read from the right.
  const auto alignment = materials_.ChordCount(position) >= 2 ? ui::Alignment::Right : ui::Alignment::Centre;
  for (std::int32_t t = first; t <= last; ++t) {
    sideState(t).shownAt = now;
    sideState(t).shownAtUs = nowUs;
    model_.setText(onlineLabel(t), "");
    model_.setAlignment(onlineLabel(t), alignment);
    // A new entry starts with an empty answer: nothing wrong to show.
    markWrongInput(t, false);
  }
  updateTickMayClose();
}

void MatchEngine::updateTickMayClose() {
  std::int64_t fromMs = std::numeric_limits<std::int64_t>::max();
  if (settings_.mode == MatchMode::TimedRace) fromMs = matchStartedAt_ + settings_.timeLimitMs + 1;
  for (const std::int32_t s : {kRedSide, kBlueSide}) {
    fromMs = std::min(fromMs, sideState(s).shownAt + kEntryTimeoutMs);
  }
  tickMayCloseFromMs_ = fromMs;
}

bool MatchEngine::tickWithoutWaiting() {
  return clock_.nowMs() < tickMayCloseFromMs_ && matchLock_.heldByNobody();
}

void MatchEngine::showEntry(ui::Control pane, std::int32_t position) {
  MaterialEntry entry;
  materials_.GetEntry(position, entry);
  ui::showTwoLines(model_, pane, entry.text, entry.note);
}

void MatchEngine::onTick() {
  if (!running()) return;
  std::lock_guard hold(matchLock_);
  // Each step may close the round; the tick ends there, so that nothing
  // reappears under the result panel.
  if (!running()) return;
  const std::int64_t now = clock_.nowMs();
  const std::int64_t elapsedMs = now - matchStartedAt_;
  model_.setText(ui::Control::标签_时间, formatDuration(static_cast<std::int32_t>(elapsedMs / kMsPerSecond)));
  if (!tickTimeLimit(elapsedMs)) return;
  tickFlash(now);
  if (!tickTimeOut(kRedSide, now)) return;
  if (!sharedEntry()) tickTimeOut(kBlueSide, now);
}

bool MatchEngine::tickTimeLimit(std::int64_t elapsedMs) {
  if (settings_.mode != MatchMode::TimedRace || elapsedMs <= settings_.timeLimitMs) return true;
  model_.setTimerPeriod(ui::Control::时钟1, 0);
  closeRound();
  return false;
}

void MatchEngine::tickFlash(std::int64_t nowMs) {
  if (settings_.flashMs <= 0) return;
  for (const std::int32_t s : {kRedSide, kBlueSide}) {
    // The pane keeps the dots until the side's next entry is shown.
    if (nowMs - sideState(s).shownAt > settings_.flashMs) {
      ui::showTwoLines(model_, questionPane(s), std::string(kHiddenEntry), "");
    }
  }
}

bool MatchEngine::tickTimeOut(std::int32_t s, std::int64_t) {
  const std::int64_t deadlineUs = sideState(s).shownAtUs + kEntryTimeoutMs * kUsPerMs;
  // An answer completed before the time-out counts however late the worker
  // sees it: the entry stays while such a chord may still be on its way.
  if (clock_.monotonicUs() > deadlineUs && settledUpTo(deadlineUs, sharedEntry(), s)) {
    publishEntryEnded(s, EntryEnd::TimedOut);
    advanceSide(s);
  }
  return running();
}

}  // namespace qiru
