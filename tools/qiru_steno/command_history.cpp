// qiru-steno history: the stored rounds, one line per side per round.

#include <charconv>
#include <ostream>

#include "history/history_database.h"
#include "history/history_listing.h"
#include "history/history_location.h"
#include "materials/utf8_path.h"
#include "tools/qiru_steno/command.h"

namespace qiru::cli {
namespace {

int runHistory(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::optional<std::string_view> historyOption;
  HistoryFilter filter;
  bool csv = false;
  const auto usage = [&err](const std::string& why) {
    err << "qiru-steno history: " << why << " (see \"qiru-steno --help\")\n";
    return kUsageError;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--csv") {
      csv = true;
      continue;
    }
    if (arg != "--history" && arg != "--machine") return usage("unknown argument \"" + arg + "\"");
    if (i + 1 == args.size()) return usage(arg + " needs a value");
    const std::string& value = args[++i];
    if (arg == "--history") {
      historyOption = value;
      continue;
    }
    std::int32_t machine = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), machine);
    if (value.empty() || error != std::errc() || end != value.data() + value.size()) {
      return usage("--machine takes a machine number such as 10001, not \"" + value + "\"");
    }
    filter.machine = machine;
  }
  const std::filesystem::path file = chooseHistoryFile(historyOption, runningProgramFolder());
  if (file.empty()) return usage("--history none keeps no history, so there is none to list");
  HistoryDatabase db;
  if (const HistoryProblem problem = db.open(file, HistoryDatabase::Access::Read); problem != HistoryProblem::None) {
    err << "qiru-steno history: " << historyProblemText(problem, file, db.lastError()) << "\n";
    return 1;
  }
  const std::vector<HistoryRow> rows = db.rows(filter);
  if (csv) {
    out << historyCsv(rows);
    return 0;
  }
  const auto names = db.machineNames();
  for (const HistoryRow& row : rows) out << historyLine(row, names) << '\n';
  return 0;
}

}  // namespace

extern const Command kHistoryCommand{
    "history",
    "history [--history FILE] [--machine N] [--csv]",
    "Lists the match history, one line per side per round, oldest first:\n"
    "match.round, start, mode, material, side, machine number (and its name),\n"
    "score, chords, wrong chords, entries, characters, playing time, 字/分,\n"
    "accuracy and the result. --machine lists only that machine's rounds;\n"
    "--csv prints CSV with the header\n"
    "match,round,started,mode,material,side,machine,score,chords,wrong_chords,\n"
    "entries,characters,seconds,chars_per_minute,accuracy,result,stopped.\n"
    "The file is the program's own (history.sqlite3 beside the program in the\n"
    "portable layout, else in $XDG_DATA_HOME/qiru-pk) unless --history names one;\n"
    "it is only read. Exit status 1 when it cannot be read, 2 when the\n"
    "arguments are wrong.",
    runHistory,
};

}  // namespace qiru::cli
