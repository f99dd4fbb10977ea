#pragma once
// A bot at one machine of the window's match. A bot keys from the answers
// of the material it is shown, so it reads the material selected in the
// material box and takes up the new one whenever the selection changes
// (which cannot happen during a match: the tabs are disabled then).

#include <filesystem>
#include <memory>
#include <optional>

#include "match/answer_key.h"
#include "simulation/match_bot.h"

namespace qiru::app {

class OpponentBot {
 public:
  OpponentBot(Clock& clock, VirtualCh375& library, MatchEngine& engine, std::int32_t side, BotStyle style,
              std::uint64_t seed);
  ~OpponentBot() { stop(); }

  // The material the next match plays; an unreadable file leaves the bot
  // without answers (it then only confirms results).
  void useMaterial(const std::filesystem::path& material);
  void stop();

 private:
  Clock& clock_;
  VirtualCh375& library_;
  MatchEngine& engine_;
  const std::int32_t side_;
  const BotStyle style_;
  std::uint64_t seed_;
  std::unique_ptr<AnswerKey> answers_;
  std::unique_ptr<MatchBot> bot_;
};

}  // namespace qiru::app
