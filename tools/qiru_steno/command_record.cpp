// qiru-steno record [--machine 1|2] [--seconds S] [--usb-id VVVV:PPPP]... LOG:
// a USB machine's interrupt reports into a report log.

#include <ostream>
#include <string>
#include <vector>

#include "tools/qiru_steno/command.h"

#ifdef QIRU_HAS_USB
#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>

#include "device/libusb/libusb_ch375.h"
#include "device/report_recorder.h"
#include "input/report_replay.h"
#include "materials/utf8_path.h"
#include "support/clock.h"
#endif

namespace qiru::cli {
namespace {

constexpr std::string_view kPrefix = "qiru-steno record: ";

#ifdef QIRU_HAS_USB

// A log spans a day at most: replay reads no more.
constexpr double kMaxSeconds = static_cast<double>(kMaxReplaySpanMs) / 1000;

struct RecordArguments {
  int machine = 1;
  std::optional<double> seconds;
  std::vector<UsbId> extraIds;
  std::string log;
};

// Fills `parsed`; returns what is wrong with the arguments, empty when nothing.
std::string parseArguments(const std::vector<std::string>& args, RecordArguments& parsed) {
  bool machineGiven = false;
  std::vector<std::string> logs;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!arg.starts_with("--")) {
      logs.push_back(arg);
      continue;
    }
    if (arg != "--machine" && arg != "--seconds" && arg != "--usb-id") {
      return "unknown option \"" + arg + "\"; the options are --machine, --seconds and --usb-id";
    }
    if (i + 1 == args.size()) return arg + " needs a value";
    const std::string& value = args[++i];
    if (arg == "--machine") {
      if (machineGiven) return "--machine is given twice";
      machineGiven = true;
      if (value != "1" && value != "2") {
        return "--machine takes 1 (the first machine in USB port order) or 2 (the second), not \"" + value + "\"";
      }
      parsed.machine = value[0] - '0';
    } else if (arg == "--seconds") {
      if (parsed.seconds) return "--seconds is given twice";
      double seconds = 0;
      const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
      if (error != std::errc() || end != value.data() + value.size() || !(seconds > 0) || seconds > kMaxSeconds) {
        return "--seconds takes a number of seconds above 0 and up to " + std::to_string(kMaxReplaySpanMs / 1000) +
               " (a day, the most a log may span), not \"" + value + "\"; leave it out to record until Ctrl-C";
      }
      parsed.seconds = seconds;
    } else {
      const std::optional<UsbId> id = parseUsbId(value);
      if (!id) return badUsbIdText(value);
      parsed.extraIds.push_back(*id);
    }
  }
  if (logs.size() != 1) return "name one report log to write, such as machine1.log";
  parsed.log = logs.front();
  return {};
}

std::string idList(const std::vector<UsbId>& ids) {
  std::string list;
  for (const UsbId id : ids) list += (list.empty() ? "" : ", ") + formatUsbId(id);
  return list;
}

// Ctrl-C (SIGINT) and SIGTERM end the recording; the log written so far
// stays a valid log. The previous handlers come back afterwards.
std::atomic<bool> gStopRecording{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void onStopSignal(int) { gStopRecording.store(true, std::memory_order_relaxed); }

class StopSignals {
 public:
  StopSignals() {
    gStopRecording = false;
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previousInt_);
    sigaction(SIGTERM, &action, &previousTerm_);
  }
  ~StopSignals() {
    sigaction(SIGINT, &previousInt_, nullptr);
    sigaction(SIGTERM, &previousTerm_, nullptr);
  }
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

 private:
  struct sigaction previousInt_ = {};
  struct sigaction previousTerm_ = {};
};

// Why the machine cannot be recorded before anything is opened; empty when
// it is there.
std::string missingMachineText(int present, int machine, const std::vector<UsbId>& ids) {
  if (present == 0) {
    return "no stenotype machine is plugged in: no USB device has the IDs " + idList(ids) +
           ". Plug the machine in and run `lsusb`; if it lists the machine with other IDs, name them with"
           " --usb-id VVVV:PPPP";
  }
  if (present < machine) {
    return "only one stenotype machine is plugged in, so there is no machine 2: record --machine 1, or plug in"
           " the second machine";
  }
  return {};
}

void tellOutcome(const RecordOutcome& outcome, int machine, const std::string& log, std::ostream& err) {
  const std::string name = "machine " + std::to_string(machine);
  if (outcome.link != LinkTestResult::Answers) {
    err << kPrefix << "note: " << name << " failed the link test (" << describeLinkTest(outcome.link)
        << ", code " << static_cast<int>(outcome.link) << "), as the program would have found it\n";
  }
  err << kPrefix << "recorded " << outcome.recorded << " reports of " << name << " into " << log;
  if (outcome.dropped > 0) {
    err << "; " << outcome.dropped << " more were lost because the log was written too slowly";
  }
  err << "\n";
  if (outcome.unplugged) err << kPrefix << name << " was unplugged, which ended the recording\n";
}

int record(const RecordArguments& arguments, std::ostream& err) {
  LibusbCh375Options options;
  options.ids = machineIdsWith(arguments.extraIds);
  // Problems the user can fix (no permission, machine in use) arrive on
  // this thread, while the machine is being opened.
  options.report = [&err](const std::string& text) { err << kPrefix << text << '\n'; };
  std::unique_ptr<LibusbCh375> usb;
  try {
    usb = std::make_unique<LibusbCh375>(options);
  } catch (const std::runtime_error& failure) {
    err << kPrefix << failure.what() << '\n';
    return 1;
  }
  if (const std::string missing = missingMachineText(usb->presentMachines(), arguments.machine, options.ids);
      !missing.empty()) {
    err << kPrefix << missing << '\n';
    return 1;
  }

  const std::filesystem::path path = pathFromUtf8(arguments.log);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) {
    err << kPrefix << "cannot write \"" << arguments.log
        << "\"; check that its folder exists and that you may write there\n";
    return 1;
  }
  const std::string name = "machine " + std::to_string(arguments.machine);
  RecordRequest request{.deviceIndex = arguments.machine - 1, .stop = &gStopRecording};
  if (arguments.seconds) request.durationMs = std::max<std::int64_t>(std::llround(*arguments.seconds * 1000), 1);
  request.onRecording = [&] {
    err << kPrefix << "recording " << name << " into " << arguments.log;
    if (arguments.seconds) {
      err << " for " << *arguments.seconds << " s; strike keys (Ctrl-C ends sooner)\n";
    } else {
      err << "; strike keys, Ctrl-C ends\n";
    }
  };

  const StopSignals signals;
  const RecordOutcome outcome = recordReports(*usb, realClock(), request, file);
  if (!outcome.opened) {
    file.close();
    std::filesystem::remove(path);
    err << kPrefix << name
        << " is plugged in but could not be opened: see the message above, if any; a machine that another"
           " program (such as qiru-pk) holds cannot be recorded until that program ends\n";
    return 1;
  }
  if (!outcome.listened) {
    err << kPrefix << name
        << " was opened but its reports cannot be received (the USB interrupt transfer did not start); unplug it,"
           " plug it in again and record again\n";
    return 1;
  }
  tellOutcome(outcome, arguments.machine, arguments.log, err);
  if (outcome.writeFailed) {
    err << kPrefix << "writing " << arguments.log
        << " failed (is the disk full?); the reports written before are a valid log\n";
    return 1;
  }
  return 0;
}

int runRecord(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
  RecordArguments arguments;
  if (const std::string wrong = parseArguments(args, arguments); !wrong.empty()) {
    err << kPrefix << wrong << " (see \"qiru-steno record --help\")\n";
    return kUsageError;
  }
  return record(arguments, err);
}

#else

int runRecord(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
  err << kPrefix
      << "this build has no USB support: libusb-1.0 was not installed when it was built."
         " Run scripts/setup-debian.sh (it installs libusb-1.0-0-dev), then build again\n";
  return 1;
}

#endif

}  // namespace

extern const Command kRecordCommand{
    "record",
    "record [--machine 1|2] [--seconds S] [--usb-id VVVV:PPPP]... LOG",
    "Records the interrupt reports of a USB stenotype machine into the report log\n"
    "LOG, for diagnosing a machine: every report it sends, also those too short\n"
    "to carry keys, with the time it arrived, as \"qiru-steno replay\" reads them.\n"
    "Before listening it makes one link test, as the program does; the log's\n"
    "first comment lines name the machine, the time and the link test's result.\n"
    "  --machine 1|2       1 (the default): the first machine in USB port order,\n"
    "                      2: the second, as machine 1 and 2 of the program\n"
    "  --seconds S         record S seconds (a day at most); without it, record\n"
    "                      until Ctrl-C, which keeps the log written so far\n"
    "  --usb-id VVVV:PPPP  a machine whose chip has other IDs than 4348:5537 or\n"
    "                      1a86:5537, as lsusb shows them; may be repeated\n"
    "Unplugging the machine also ends the recording. The machine must not be in\n"
    "use by qiru-pk meanwhile.\n"
    "Exit status 1 when no machine can be recorded or LOG cannot be written, 2\n"
    "for a wrong command line.",
    runRecord,
};

}  // namespace qiru::cli
