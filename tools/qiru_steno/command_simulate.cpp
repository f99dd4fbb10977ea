// qiru-steno simulate: a whole match between two bots on virtual machines,
// in virtual time.

#include <charconv>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>

#include "simulation/match_simulation.h"
#include "materials/utf8_path.h"
#include "steno/builtin_scheme.h"
#include "tools/qiru_steno/command.h"
#include "tools/qiru_steno/simulation_history.h"

namespace qiru::cli {
namespace {

constexpr std::string_view kOptions[] = {"--mode",  "--material", "--minutes", "--entries", "--members",
                                         "--flash", "--seed",     "--red",     "--blue",    "--history"};

// The option's value, or an explanation of why the command line is wrong.
struct Parsed {
  SimulationOptions options;
  std::string error;
  std::optional<std::string> history;  // the --history value
};

Parsed failure(std::string why) {
  Parsed parsed;
  parsed.error = std::move(why);
  return parsed;
}

bool isOption(std::string_view name) {
  for (const std::string_view option : kOptions) {
    if (option == name) return true;
  }
  return false;
}

template <typename T>
bool parseWhole(const std::string& text, T& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// Which options belong to which modes: the box each fills is on that mode's page.
std::string modeMismatch(const std::map<std::string, std::string>& given, MatchMode mode) {
  if (given.contains("--minutes") && mode != MatchMode::TimedRace) {
    return "--minutes sets the time limit of the timed race (mode 0) only; the other modes play --entries";
  }
  if (given.contains("--entries") && mode == MatchMode::TimedRace) {
    return "the timed race (mode 0) loads 300 entries a minute; set its length with --minutes";
  }
  if (given.contains("--members") && mode != MatchMode::TeamRelay) {
    return "--members is the team size of the team relay (mode 3) only";
  }
  return {};
}

Parsed parseArguments(const std::vector<std::string>& args) {
  Parsed parsed;
  std::map<std::string, std::string> given;
  for (std::size_t i = 0; i < args.size(); i += 2) {
    if (!isOption(args[i])) return failure("unknown argument \"" + args[i] + "\"");
    if (i + 1 == args.size()) return failure(args[i] + " needs a value");
    if (!given.emplace(args[i], args[i + 1]).second) return failure(args[i] + " is given twice");
  }
  SimulationOptions& options = parsed.options;
  std::int32_t mode = -1;
  if (!given.contains("--mode") || !parseWhole(given["--mode"], mode) || mode < 0 || mode >= kMatchModeCount) {
    return failure("give --mode 0 to 3: 0 timed race, 1 race to finish, 2 quick answer, 3 team relay");
  }
  options.mode = static_cast<MatchMode>(mode);
  if (!given.contains("--material")) return failure("give --material FILE, a match material such as 比赛题库/1.基础/单音节.txt");
  options.material = pathFromUtf8(given["--material"]);
  if (std::string mismatch = modeMismatch(given, options.mode); !mismatch.empty()) return failure(mismatch);
  const auto text = [&given](const char* name) -> std::optional<std::string> {
    if (!given.contains(name)) return std::nullopt;
    return given[name];
  };
  options.minutes = text("--minutes");
  options.entries = text("--entries");
  options.members = text("--members");
  options.flashSeconds = text("--flash");
  if (given.contains("--seed") && !parseWhole(given["--seed"], options.seed)) {
    return failure("--seed takes a whole number from 0 to 18446744073709551615, not \"" + given["--seed"] + "\"");
  }
  std::string error;
  if (given.contains("--red")) {
    const auto red = parseBotStyle(given["--red"], error);
    if (!red) return failure("--red: " + error);
    options.red = *red;
  }
  options.blue = options.red;
  if (given.contains("--blue")) {
    if (given["--blue"] == "none") {
      options.blue.reset();
    } else {
      options.blue = parseBotStyle(given["--blue"], error);
      if (!options.blue) return failure("--blue: " + error + " (or none: machine 1 plays alone)");
    }
  }
  parsed.history = text("--history");
  if (auto refusal = optionBoxRefuses(options)) return failure(std::move(*refusal));
  return parsed;
}

int runSimulate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const Parsed parsed = parseArguments(args);
  if (!parsed.error.empty()) {
    err << "qiru-steno simulate: " << parsed.error << " (see \"qiru-steno simulate --help\")\n";
    return kUsageError;
  }
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(parsed.options.material, ignored)) {
    err << "qiru-steno simulate: cannot find the material file \"" << parsed.options.material.string()
        << "\"; check its name (a path from the current folder or a full path)\n";
    return 1;
  }
  std::string refusal;
  const std::unique_ptr<SimulationHistory> history =
      parsed.history ? openSimulationHistory(*parsed.history, err, refusal) : nullptr;
  if (!refusal.empty()) {
    err << "qiru-steno simulate: --history: " << refusal << "\n";
    return kUsageError;
  }
  loadFingeringScheme(nullptr);
  std::vector<MatchObserver*> observers;
  if (history) observers.push_back(&history->observer());
  const int status = simulateMatch(parsed.options, out, err, observers);
  if (history) history->flush();
  if (status != 0) err << "qiru-steno simulate: the match was not played to its end\n";
  return status;
}

}  // namespace

extern const Command kSimulateCommand{
    "simulate",
    "simulate --mode MODE --material FILE [--minutes M] [--entries N] [--members K]\n"
    "           [--flash SECONDS] [--seed S] [--red BOT] [--blue BOT|none] [--history FILE]",
    "Plays a whole match in virtual time: virtual machines, the machine link,\n"
    "chord capture and the match engine, with a bot at each machine. MODE is\n"
    "0 timed race, 1 race to finish, 2 quick answer, 3 team relay. The options\n"
    "fill the window's option boxes: --minutes the time limit (mode 0),\n"
    "--entries the entries of a round (modes 1 to 3), --members the team size\n"
    "(mode 3), --flash the flash time (turns flash on). A BOT is cpm=N,errors=P,react=MS:\n"
    "N chords a minute, a share P (0 to 1) of them wrong, the first chord of\n"
    "each entry MS ms after it is shown (else when the bot sees it); the default is\n"
    "cpm=300,errors=0, and blue plays as red unless told; --blue none plays\n"
    "machine 1 alone, machine 2 being simulated.\n"
    "Prints each key record line as it is written, after the side and a TAB, and\n"
    "after each round the result controls (name=caption, 标签_结果.color=0xRRGGBB\n"
    "as the colour value is written). The same arguments and seed (default 1)\n"
    "print the same lines. --history FILE keeps the rounds in that match history\n"
    "file as the window would (see the history command).\n"
    "Exit status 1 when the material cannot be read or the match stalls, 2 when\n"
    "the arguments are wrong.",
    runSimulate,
};

}  // namespace qiru::cli
