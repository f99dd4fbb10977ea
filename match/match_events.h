#pragma once
// What happens in a round, as values: a round started, a chord judged, an
// entry taken or timed out, the round's result. The engine hands each to
// its observers as it happens, so that the key-record printing, the
// measures of a round and the match history never read results back out of
// the window's texts.
//
// Observers are called on the thread that made the event happen (the
// round's worker, the match clock's thread, a reader thread at the start)
// with the match lock held: they copy what they keep and never wait on
// anything (no file, no other lock held for long, no window).

#include <array>
#include <cstdint>
#include <string>

#include "input/key_event.h"
#include "match/match_settings.h"
#include "match/result_texts.h"

namespace qiru {

struct RoundStarted {
  MatchSettings settings;  // memberNumber: the round's number within its match
  bool newMatch = true;    // the first round of a match (a relay's first member, or any other mode's round)
  std::string materialPath;  // UTF-8; the material file the entries came from
  std::int32_t entries = 0;  // entries loaded for the round
  std::array<std::int32_t, 2> machineNumbers{};  // as the machines reported in (red, blue)
  std::int64_t startedAtMs = 0;  // the first entries are shown (ms since 1970)
};

// What a chord did to its side's answer.
enum class ChordOutcome : std::int32_t {
  Open = 0,       // kept in the pending answer, which does not (yet) answer the entry
  Answered = 1,   // completed the answer: the entry is taken
  Cleared = 2,    // a confirm or delete key that emptied a multi-chord answer
};

struct ChordJudged {
  std::int32_t side = 0;
  std::int32_t number = 0;     // the side's key count after it: 1 for its first chord of the round
  std::string chord;           // code text
  std::string name;            // decoded name or output
  std::int32_t entryPosition = 0;  // the entry it was struck at
  ChordOutcome outcome = ChordOutcome::Open;
  std::int64_t atMs = 0;       // when the worker judged it
};

enum class EntryEnd : std::int32_t {
  Taken = 0,     // answered by `side`; in the shared-entry modes the rival missed it
  TimedOut = 1,  // nobody answered it in time; in the shared-entry modes both sides missed it
};

struct EntryEnded {
  std::int32_t side = 0;  // who answered it, or whose entry timed out (red in the shared-entry modes)
  bool shared = false;    // both sides played this entry
  EntryEnd end = EntryEnd::Taken;
  std::int32_t position = 0;
  std::string text;
  std::string code;       // the chords that answer it, as the material writes them
  std::int32_t answerChords = 0;  // chords of the accepted answer (Taken), else 0
  std::int64_t shownAtMs = 0;
  std::int64_t endedAtMs = 0;
};

struct RoundResult {
  MatchMode mode = MatchMode::TimedRace;
  std::array<std::int32_t, 2> scores{};      // the round's scores (red, blue)
  std::array<std::int32_t, 2> teamTotals{};  // the relay's totals after this round
  bool relayFinished = false;   // the relay's last member has played
  std::int32_t winner = 0;      // of the round, by its scores: 1 red, 2 blue, 0 a draw
  Verdict verdict;              // what 标签_结果 announces, and its colour
  bool stopped = false;         // ended before its time limit or material by a stop
  std::int64_t endedAtMs = 0;
};

class MatchObserver {
 public:
  virtual ~MatchObserver() = default;
  virtual void onRoundStarted(const RoundStarted&) {}
  virtual void onChordJudged(const ChordJudged&) {}
  virtual void onEntryEnded(const EntryEnded&) {}
  virtual void onRoundEnded(const RoundResult&) {}
};

}  // namespace qiru
