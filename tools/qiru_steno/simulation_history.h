#pragma once
// The match history that simulate --history keeps. A build without SQLite
// (the Windows cross build) keeps none, and says so instead of playing as
// if it had.

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

#include "match/match_events.h"

namespace qiru::cli {

class SimulationHistory {
 public:
  virtual ~SimulationHistory() = default;
  // Watches the match; each finished round goes into the history file.
  virtual MatchObserver& observer() = 0;
  // Returns once every round handed over is written.
  virtual void flush() = 0;
};

// The history a --history value names: null for "none". Null with
// `refusal` set when this build cannot keep one. A file that cannot be kept
// is told on `err` once the match has started, as the window tells it.
std::unique_ptr<SimulationHistory> openSimulationHistory(std::string_view option, std::ostream& err,
                                                         std::string& refusal);

}  // namespace qiru::cli
