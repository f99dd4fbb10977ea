// simulate --history in a build without the match history (no SQLite):
// "none" is what it does anyway; a file is refused, so that nobody takes a
// match for kept when it was not.

#include "history/history_location.h"
#include "tools/qiru_steno/simulation_history.h"
#include "tools/qiru_steno/unkept_history.h"

namespace qiru::cli {

std::unique_ptr<SimulationHistory> openSimulationHistory(std::string_view option, std::ostream& /*err*/,
                                                         std::string& refusal) {
  if (option != kNoHistory) refusal = std::string(kUnkeptHistory) + "; leave out --history";
  return nullptr;
}

}  // namespace qiru::cli
