#include "app/command_line.h"

#include <map>

#include "materials/utf8_path.h"

namespace qiru::app {
namespace {

constexpr std::string_view kValueOptions[] = {"--bank",    "--machines", "--opponent", "--red",     "--blue",
                                              "--mode",    "--material", "--minutes",  "--entries", "--members",
                                              "--flash",   "--screenshot"};

bool takesValue(std::string_view name) {
  for (const std::string_view option : kValueOptions) {
    if (option == name) return true;
  }
  return false;
}

std::optional<BotStyle> botOf(const std::string& option, const std::string& text, std::string& error) {
  std::string why;
  std::optional<BotStyle> style = parseBotStyle(text, why);
  if (!style) error = option + " takes a bot as cpm=N,errors=P (for example cpm=200,errors=0.05): " + why;
  return style;
}

}  // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args) {
  ParsedCommandLine parsed;
  AppOptions& options = parsed.options;
  std::map<std::string, std::string> given;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--help" || args[i] == "-h") {
      options.help = true;
      continue;
    }
    if (args[i] == "--autoplay") {
      options.autoplay = true;
      continue;
    }
    if (!takesValue(args[i])) return {{}, "unknown argument \"" + args[i] + "\""};
    if (i + 1 == args.size()) return {{}, args[i] + " needs a value"};
    if (!given.emplace(args[i], args[i + 1]).second) return {{}, args[i] + " is given twice"};
    ++i;
  }
  if (given.contains("--bank")) options.bank = pathFromUtf8(given["--bank"]);
  if (given.contains("--machines")) {
    const std::string& machines = given["--machines"];
    if (machines == "bots") {
      options.machines = MachineSource::Bots;
    } else if (machines != "keyboard") {
      return {{}, "--machines takes keyboard (machine 1 is the PC keyboard) or bots (--red BOT --blue BOT), not \"" +
                      machines + "\""};
    }
  }
  if (options.autoplay) {
    if (given.contains("--machines") || given.contains("--opponent")) {
      return {{}, "--autoplay plays bots at both machines: give them with --red BOT and --blue BOT"};
    }
    options.machines = MachineSource::Bots;
  }
  if (given.contains("--screenshot") && !options.autoplay) return {{}, "--screenshot is taken at the end of --autoplay"};
  if (given.contains("--screenshot")) options.screenshot = pathFromUtf8(given["--screenshot"]);
  if (given.contains("--mode")) {
    const std::string& mode = given["--mode"];
    if (mode.size() != 1 || mode[0] < '0' || mode[0] >= '0' + kMatchModeCount) {
      return {{}, "give --mode 0 to 3: 0 timed race, 1 race to finish, 2 quick answer, 3 team relay"};
    }
    options.mode = static_cast<MatchMode>(mode[0] - '0');
  }
  if (given.contains("--material")) options.material = pathFromUtf8(given["--material"]);
  // The boxes check their own texts when the window takes them.
  for (const auto& [name, box] : {std::pair{"--minutes", &options.minutes}, {"--entries", &options.entries},
                                  {"--members", &options.members}, {"--flash", &options.flashSeconds}}) {
    if (given.contains(name)) *box = given[name];
  }
  const bool bots = options.machines == MachineSource::Bots;
  if (given.contains("--red") && !bots) return {{}, "--red plays machine 1 only with --machines bots"};
  if (given.contains("--blue") && !bots) return {{}, "--blue plays machine 2 only with --machines bots; use --opponent BOT"};
  if (given.contains("--opponent") && bots) return {{}, "with --machines bots, machine 2 is --blue BOT, not --opponent"};
  std::string error;
  for (const auto& [option, slot] : {std::pair{"--red", &options.red}, {"--blue", &options.blue}, {"--opponent", &options.blue}}) {
    if (!given.contains(option)) continue;
    *slot = botOf(option, given[option], error);
    if (!*slot) return {{}, error};
  }
  if (bots && !options.red) options.red = BotStyle{};
  // Autoplay without --blue plays machine 1 alone, as the simulation does.
  if (bots && !options.autoplay && !options.blue) options.blue = BotStyle{};
  return parsed;
}

std::string usageText() {
  return "usage: qiru-pk [--bank DIR] [--machines keyboard] [--opponent BOT]\n"
         "       qiru-pk [--bank DIR] --machines bots [--red BOT] [--blue BOT]\n"
         "  --bank DIR          the question bank folder\n"
         "  --machines keyboard machine 1 is the PC keyboard (F1 in the window shows the keys)\n"
         "  --machines bots     both machines are played by bots\n"
         "  --opponent BOT      machine 2 is a bot instead of the simulated machine 2\n"
         "  BOT                 cpm=N,errors=P: chords a minute (300) and share of wrong chords (0)\n"
         "       qiru-pk --autoplay [--red BOT] [--blue BOT] [--screenshot FILE.png] [match options]\n"
         "  --autoplay          bots play one match in the window in real time, then the program ends\n"
         "  match options       --mode 0-3 --material FILE --minutes N --entries N --members N --flash SECONDS\n";
}

}  // namespace qiru::app
