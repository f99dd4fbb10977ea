// qiru-steno history in a build without the match history (no SQLite): the
// command is there so that asking for it says why there is nothing to list.

#include <ostream>

#include "tools/qiru_steno/command.h"
#include "tools/qiru_steno/unkept_history.h"

namespace qiru::cli {
namespace {

int runHistory(const std::vector<std::string>& /*args*/, std::ostream& /*out*/, std::ostream& err) {
  err << "qiru-steno history: " << kUnkeptHistory << "; list the history with a build that has it\n";
  return 1;
}

}  // namespace

extern const Command kHistoryCommand{
    "history",
    "history",
    "Not in this build: it was built without SQLite and keeps no match history.\n"
    "Exit status 1.",
    runHistory,
};

}  // namespace qiru::cli
