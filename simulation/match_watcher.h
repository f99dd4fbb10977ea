#pragma once
// What an observer of a simulated match sees as it plays: the chords the
// bots strike, the key record lines and the results as they are written,
// with their moments in virtual time. A sweep of seeded matches checks them,
// and drives the machines itself (unplugging them, say) between
// matchStarting and matchEnding.

#include <cstdint>
#include <string_view>

#include "device/virtual/virtual_ch375.h"
#include "match/match_engine.h"
#include "simulation/match_bot.h"
#include "support/clock.h"
#include "ui/control_model.h"

namespace qiru {

class MatchWatcher {
 public:
  virtual ~MatchWatcher() = default;
  // Once the program and the bots are set up, before the first round. The
  // calling thread takes part in the clock; threads started here must be
  // ended by matchEnding.
  virtual void matchStarting(Clock& clock, VirtualCh375& library, MatchEngine& engine) = 0;
  // After the last round (or the first that did not end), before the
  // program is taken down.
  virtual void matchEnding() = 0;
  // On a bot's thread, for every chord it strikes.
  virtual void chordStruck(const StruckChord& chord) = 0;
  // A key record line as it is appended ("3 EN - F:I"), under the model's lock.
  virtual void keyRecorded(std::int32_t side, std::string_view line, std::int64_t atMs) = 0;
  // Every change of a control, under the model's lock.
  virtual void controlChanged(const ui::ControlChange& change, std::int64_t atMs) = 0;
  // After each round, the result panel as it stands.
  virtual void roundEnded(const ui::ControlModel& model, std::int64_t atMs) = 0;
};

}  // namespace qiru
