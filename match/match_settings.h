#pragma once
// The settings of the match being played: read from the option boxes of the
// main window at every start (and, in the team relay, at every member's
// round), never kept between runs of the program.

#include <cstdint>

#include "support/match_types.h"
#include "ui/control_model.h"

namespace qiru {

// Entries loaded per minute of a timed race: more than anyone keys.
inline constexpr std::int32_t kEntriesPerMinute = 300;
inline constexpr std::int32_t kMsPerMinute = 60'000;
inline constexpr std::int32_t kMsPerSecond = 1000;

struct MatchSettings {
  MatchMode mode = MatchMode::TimedRace;
  std::int32_t timeLimitMs = 0;   // TimedRace: the round's length; else 0
  std::int32_t entryLimit = 0;    // entries to load in the other modes; 0 in TimedRace
  std::int32_t flashMs = 0;       // how long an entry stays visible; 0: never hidden
  std::int32_t teamSize = 0;      // members per team; 0: no relay in progress
  std::int32_t memberNumber = 1;  // the round (relay member) now being played, from 1

  // Whether a team relay has members still to play.
  bool relayInProgress() const { return mode == MatchMode::TeamRelay && teamSize != 0; }
};

// What a start reads from the window, given the settings of the round before.
struct SettingsRead {
  MatchSettings settings;
  bool newRelayOrMatch;  // the team totals start again from 0
  std::int32_t entriesToLoad;
};

// The settings of the round that is starting, from the option boxes: the
// mode tab, the flash switch and time, and the mode's number boxes. A later
// member of a running relay keeps the relay's values and reads no team box,
// so that changes to them wait for the next relay. A relay started after a
// match in another mode is a new relay.
SettingsRead readMatchSettings(const ui::ControlModel& model, const MatchSettings& previous);

}  // namespace qiru
