// qiru-steno replay LOG: the key events a report log gives as machine 1.

#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>

#include "device/report_log.h"
#include "input/report_replay.h"
#include "materials/utf8_path.h"
#include "steno/builtin_scheme.h"
#include "tools/qiru_steno/command.h"
#include "tools/qiru_steno/stream_messages.h"

namespace qiru::cli {
namespace {

int runReplay(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1) {
    err << "qiru-steno replay: name one report log, such as machine1.log"
           " (see \"qiru-steno replay --help\" for its format)\n";
    return kUsageError;
  }
  const std::filesystem::path path = pathFromUtf8(args[0]);
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (error && status.type() != std::filesystem::file_type::not_found) {
    // A loop of links, or a folder on the way that may not be searched.
    err << "qiru-steno replay: cannot reach \"" << args[0] << "\": " << error.message()
        << "; check the path and that you may read it\n";
    return 1;
  }
  if (std::filesystem::is_directory(status)) {
    err << "qiru-steno replay: \"" << args[0] << "\" is a folder; name a report log file in it\n";
    return 1;
  }
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    err << "qiru-steno replay: \"" << args[0] << "\" is no file (a pipe or a device, say); name a report log file\n";
    return 1;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    err << "qiru-steno replay: cannot open \"" << args[0] << "\"; check the file's name and that you may read it\n";
    return 1;
  }
  std::ostringstream text;
  text << file.rdbuf();
  const ReportLog log = parseReportLog(text.str());
  if (!log.ok()) {
    err << "qiru-steno replay: " << args[0] << ": " << log.error << "\n";
    return 1;
  }
  if (!isReplayable(log.reports)) {
    err << "qiru-steno replay: " << args[0] << ": the reports span more than a day (from "
        << log.reports.front().timeMs << " to " << log.reports.back().timeMs
        << " ms); are some times in seconds, or from another log? Replay one session at a time\n";
    return 1;
  }
  StreamMessages messages(err);
  loadFingeringScheme(&messages);
  for (const KeyEvent& event : replayReportLog(log.reports)) out << event.chord << '\t' << event.name << '\n';
  return 0;
}

}  // namespace

extern const Command kReplayCommand{
    "replay",
    "replay LOG",
    "Runs the reports of a report log through machine 1's report queue, reader\n"
    "thread and chord capture, in virtual time as they would have arrived, and\n"
    "prints one line per key event: the chord's code text, a TAB and its name.\n"
    "The same log always gives the same key events.\n"
    "A report log has one report a line: the time in milliseconds (a fraction\n"
    "to the microsecond at most, played at the start of its millisecond), then\n"
    "the interrupt data bytes in hex, byte 0 (the report length) first:\n"
    "    1000 07 FE FF FF FF 39 30 00\n"
    "    1064.250 07 FF FF FF FF 39 30 00\n"
    "Blank lines and lines starting with # are skipped; times start from 0 and\n"
    "never go back, and a log spans a day at most.\n"
    "Exit status 1 when the log cannot be read or has a malformed line (named\n"
    "by its number), 2 when no LOG or more than one is given.",
    runReplay,
};

}  // namespace qiru::cli
