#include "support/match_types.h"

#include <array>
#include <utility>

namespace qiru {

namespace {

constexpr std::array<std::pair<MatchState, std::string_view>, 5> kStateNames{{
    {MatchState::Idle, "Idle"},
    {MatchState::Running, "Running"},
    {MatchState::CountingDown, "CountingDown"},
    {MatchState::Closing, "Closing"},
    {MatchState::ResultShown, "ResultShown"},
}};

}  // namespace

std::string_view matchStateName(MatchState state) {
  for (const auto& [value, name] : kStateNames) {
    if (value == state) return name;
  }
  return "?";
}

std::optional<MatchState> matchStateFromName(std::string_view name) {
  for (const auto& [value, known] : kStateNames) {
    if (known == name) return value;
  }
  return std::nullopt;
}

}  // namespace qiru
