#include "history/played_round.h"

#include <utility>

namespace qiru {

void RoundCollector::onRoundStarted(const RoundStarted& start) {
  round_ = PlayedRound{};
  round_.start = start;
}

void RoundCollector::onRoundEnded(const RoundResult& result) {
  round_.result = result;
  onRound_(std::exchange(round_, PlayedRound{}));
}

}  // namespace qiru
