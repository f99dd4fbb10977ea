#pragma once
// The match as text, from its events: each key record line as the worker
// writes it ("1<TAB>3 EN - F:I", the side first), and after each round the
// result controls as the result panel shows them ("标签_结果=本局红方获胜！",
// "标签_结果.color=0x865AB2", the relay's "标签_局成绩=…", the stop mark of a
// round stopped early, the two score labels). What `qiru-steno simulate` prints; any program that plays a
// match can print the same.

#include <iosfwd>
#include <mutex>
#include <string>

#include "match/match_events.h"

namespace qiru {

// The result controls' lines for one round's result.
std::string resultLines(const RoundResult& result);

class MatchPrinter final : public MatchObserver {
 public:
  // EachWrite: every line reaches the reader at once (a person's match
  // followed live); Buffered: the stream's buffer decides (a simulation's
  // thousands of lines).
  enum class Flush { Buffered, EachWrite };

  explicit MatchPrinter(std::ostream& out, Flush flush = Flush::Buffered) : out_(out), flush_(flush) {}

  void onChordJudged(const ChordJudged& chord) override;
  void onRoundEnded(const RoundResult& result) override;

 private:
  void write(const std::string& text);

  std::ostream& out_;
  const Flush flush_;
  std::mutex outMutex_;  // the worker and the match clock both end rounds
};

}  // namespace qiru
