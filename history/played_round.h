#pragma once
// One round as its events told it: how it started, every chord judged,
// every entry taken or timed out, and its result. The measures of a round
// and the match history are made from it.

#include <functional>
#include <vector>

#include "match/match_events.h"

namespace qiru {

struct PlayedRound {
  RoundStarted start;
  std::vector<ChordJudged> chords;   // both sides, in the order judged
  std::vector<EntryEnded> entries;   // in the order they ended
  RoundResult result;
};

// Collects the events of each round; when a round ends, hands it on. The
// hand-over runs on the engine's thread with the match lock held: it must
// only move the round somewhere and return.
class RoundCollector final : public MatchObserver {
 public:
  using RoundEnded = std::function<void(PlayedRound&&)>;
  explicit RoundCollector(RoundEnded onRound) : onRound_(std::move(onRound)) {}

  void onRoundStarted(const RoundStarted& start) override;
  void onChordJudged(const ChordJudged& chord) override { round_.chords.push_back(chord); }
  void onEntryEnded(const EntryEnded& entry) override { round_.entries.push_back(entry); }
  void onRoundEnded(const RoundResult& result) override;

 private:
  RoundEnded onRound_;
  PlayedRound round_;
};

}  // namespace qiru
