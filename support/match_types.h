#pragma once
// The match's state and mode: the match engine keeps them, the window's
// layout depends on them, the tools name them on the command line.

#include <cstdint>
#include <optional>
#include <string_view>

namespace qiru {

// Where a match stands. One program-wide value; its numbers are fixed.
enum class MatchState : std::int32_t {
  Idle = 0,          // no match: keys serve the report-in and the start key
  Running = 1,       // keys are queued for the worker thread and scored
  CountingDown = 2,  // start accepted, countdown on screen; keys are ignored
  Closing = 3,       // the round's result is being worked out; keys are ignored
  ResultShown = 4,   // result panel on screen; only the confirm key counts
};

// The kind of match: the page index of the mode tab.
enum class MatchMode : std::int32_t {
  TimedRace = 0,     // "双人计时赛": each side at its own pace against the clock
  RaceToFinish = 1,  // "双人争先赛": each side at its own pace through the entries
  QuickAnswer = 2,   // "双人抢答赛": one shared entry, first correct answer takes it
  TeamRelay = 3,     // "团队接力赛": quick answer, one round per team member
};

inline constexpr int kMatchModeCount = 4;

// The state's name as written in code ("CountingDown").
std::string_view matchStateName(MatchState state);
// The state with that name, matched exactly; none for any other text.
std::optional<MatchState> matchStateFromName(std::string_view name);

// Whether each side has its own entry (and so its own question pane).
constexpr bool sidesAdvanceAlone(MatchMode mode) {
  return mode == MatchMode::TimedRace || mode == MatchMode::RaceToFinish;
}

}  // namespace qiru
