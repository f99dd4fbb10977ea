#include "app/opponent_bot.h"

#include "materials/material_file.h"

namespace qiru::app {

OpponentBot::OpponentBot(Clock& clock, VirtualCh375& library, MatchEngine& engine, std::int32_t side, BotStyle style,
                         std::uint64_t seed)
    : clock_(clock), library_(library), engine_(engine), side_(side), style_(style), seed_(seed) {
  useMaterial({});
}

void OpponentBot::useMaterial(const std::filesystem::path& material) {
  stop();
  const std::optional<std::string> text = material.empty() ? std::nullopt : readMaterialFile(material);
  answers_ = std::make_unique<AnswerKey>(text ? *text : std::string());
  bot_ = std::make_unique<MatchBot>(clock_, library_, engine_, *answers_, side_, style_, ++seed_);
}

void OpponentBot::stop() {
  if (bot_) bot_->stop();
  bot_.reset();
}

}  // namespace qiru::app
