#pragma once
// Rounds made by hand, event by event, for the measures and the history.

#include <cstdint>
#include <string>

#include "history/played_round.h"

namespace qiru::testing {

class RoundBuilder {
 public:
  RoundBuilder(MatchMode mode, std::int32_t entries, std::int32_t timeLimitMs = 0) {
    round.start.settings.mode = mode;
    round.start.settings.timeLimitMs = timeLimitMs;
    round.start.entries = entries;
    round.start.machineNumbers = {10001, 10002};
    round.start.materialPath = "/bank/词语.txt";
    round.start.startedAtMs = kStartMs;
    round.result.mode = mode;
  }

  RoundBuilder& chord(std::int32_t side, std::int64_t atMs, ChordOutcome outcome = ChordOutcome::Open) {
    const std::int32_t number = ++chordCounts_[side - 1];
    round.chords.push_back({side, number, "A:", "a", 1, outcome, kStartMs + atMs});
    return *this;
  }
  RoundBuilder& taken(std::int32_t side, std::int32_t position, std::string text, std::int32_t chords,
                      std::int64_t shownMs, std::int64_t endedMs) {
    return entry(side, EntryEnd::Taken, position, std::move(text), chords, shownMs, endedMs);
  }
  RoundBuilder& timedOut(std::int32_t side, std::int32_t position, std::string text, std::int64_t shownMs,
                         std::int64_t endedMs) {
    return entry(side, EntryEnd::TimedOut, position, std::move(text), 0, shownMs, endedMs);
  }
  RoundBuilder& ended(std::int64_t atMs, std::int32_t red, std::int32_t blue, bool stopped = false) {
    round.result.scores = {red, blue};
    round.result.winner = red == blue ? 0 : (red > blue ? 1 : 2);
    round.result.endedAtMs = kStartMs + atMs;
    round.result.stopped = stopped;
    return *this;
  }

  static constexpr std::int64_t kStartMs = 1'700'000'000'000;
  PlayedRound round;

 private:
  RoundBuilder& entry(std::int32_t side, EntryEnd end, std::int32_t position, std::string text,
                      std::int32_t chords, std::int64_t shownMs, std::int64_t endedMs) {
    EntryEnded e;
    e.side = side;
    e.shared = !sidesAdvanceAlone(round.start.settings.mode);
    e.end = end;
    e.position = position;
    e.code = "CODE" + std::to_string(position);
    e.text = std::move(text);
    e.answerChords = chords;
    e.shownAtMs = kStartMs + shownMs;
    e.endedAtMs = kStartMs + endedMs;
    round.entries.push_back(std::move(e));
    return *this;
  }

  std::int32_t chordCounts_[2] = {0, 0};
};

}  // namespace qiru::testing
