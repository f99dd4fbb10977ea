#include "app/bot_report_in.h"

#include "app/struck_chord.h"
#include "device/side.h"

namespace qiru::app {

BotReportIn::BotReportIn(Clock& clock, VirtualCh375& library, MatchEngine& engine, const MachineConnection& machines,
                         std::int32_t side)
    : clock_(clock),
      engine_(engine),
      machines_(machines),
      side_(side),
      player_(library, side - 1),
      thread_(clock, [this] {
        while (!stopping_) clock_.sleepFor(step());
      }) {}

void BotReportIn::stop() {
  stopping_ = true;
  thread_.join();
}

bool BotReportIn::wanted() const {
  const std::int32_t other = side_ == kRedSide ? kBlueSide : kRedSide;
  return engine_.state() == MatchState::Idle && machines_.hasReportedIn(other) && !machines_.hasReportedIn(side_);
}

std::int64_t BotReportIn::step() {
  const std::int64_t now = clock_.nowMs();
  if (!wanted()) {
    strikeAt_ = 0;
    return kBotReportInLookMs;
  }
  if (strikeAt_ == 0) strikeAt_ = now + kBotReportInDelayMs;
  if (now < strikeAt_) return strikeAt_ - now;
  const std::int64_t upAt = player_.play(now, keysOfChord(kReportInChord));
  strikeAt_ = upAt + kBotReportInRetryMs;
  return strikeAt_ - now;
}

}  // namespace qiru::app
