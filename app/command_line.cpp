#include "app/command_line.h"

#include <map>
#include <optional>
#include <utility>

#include "materials/utf8_path.h"
#include "ui/option_boxes.h"

namespace qiru::app {
namespace {

constexpr std::string_view kValueOptions[] = {"--bank",    "--machines", "--opponent", "--red",     "--blue",
                                              "--mode",    "--material", "--minutes",  "--entries", "--members",
                                              "--flash",   "--screenshot", "--usb-id",   "--history"};
// The one option that may be given more than once.
constexpr std::string_view kUsbIdOption = "--usb-id";

bool takesValue(std::string_view name) {
  for (const std::string_view option : kValueOptions) {
    if (option == name) return true;
  }
  return false;
}

std::optional<BotStyle> botOf(const std::string& option, const std::string& text, std::string& error) {
  std::string why;
  std::optional<BotStyle> style = parseBotStyle(text, why);
  if (!style) error = option + " takes a bot as cpm=N,errors=P,react=MS (for example cpm=200,errors=0.05): " + why;
  return style;
}

// The USB ID of --usb-id; an error when it is not one, or when this build
// cannot reach USB machines at all.
std::optional<UsbId> usbIdOf(const std::string& text, std::string& error) {
#ifdef QIRU_HAS_USB
  std::optional<UsbId> id = parseUsbId(text);
  if (!id) error = badUsbIdText(text);
  return id;
#else
  (void)text;
  error = "--usb-id names USB machines, and this build has no USB support (libusb-1.0 was missing when it was built)";
  return std::nullopt;
#endif
}

MachineSource machineSourceOf(const std::string& text, std::string& error) {
  const std::pair<std::string_view, MachineSource> names[] = {{"auto", MachineSource::Auto},
                                                              {"usb", MachineSource::Usb},
                                                              {"keyboard", MachineSource::Keyboard},
                                                              {"bots", MachineSource::Bots}};
  for (const auto& [name, source] : names) {
    if (text == name) return source;
  }
  error = "--machines takes auto (USB machines when one is plugged in, else the keyboard), usb, keyboard (machine 1"
          " is the PC keyboard) or bots (--red BOT --blue BOT), not \"" + text + "\"";
  return MachineSource::Auto;
}

bool isUsbOrAuto(MachineSource source) { return source == MachineSource::Usb || source == MachineSource::Auto; }

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
    if (args[i] == "--print-results") {
      options.printResults = true;
      continue;
    }
    if (!takesValue(args[i])) return {{}, "unknown argument \"" + args[i] + "\""};
    if (i + 1 == args.size()) return {{}, args[i] + " needs a value"};
    if (args[i] == kUsbIdOption) {
      std::string error;
      const std::optional<UsbId> id = usbIdOf(args[i + 1], error);
      if (!id) return {{}, error};
      options.usbIds.push_back(*id);
    } else if (!given.emplace(args[i], args[i + 1]).second) {
      return {{}, args[i] + " is given twice"};
    }
    ++i;
  }
  if (given.contains("--bank")) options.bank = pathFromUtf8(given["--bank"]);
  if (given.contains("--history")) options.history = given["--history"];
  if (given.contains("--machines")) {
    std::string error;
    options.machines = machineSourceOf(given["--machines"], error);
    if (!error.empty()) return {{}, error};
  }
  if (options.autoplay) {
    if (given.contains("--machines") || given.contains("--opponent")) {
      return {{}, "--autoplay plays bots at both machines: give them with --red BOT and --blue BOT"};
    }
    options.machines = MachineSource::Bots;
    options.printResults = true;
  }
  // A bot plays machine 2 through the virtual machines, beside the keyboard
  // machine; USB machines have a real machine 2, or a simulated one.
  if (given.contains("--opponent")) {
    if (given.contains("--machines") && isUsbOrAuto(options.machines)) {
      return {{}, "--opponent BOT plays against the keyboard machine (--machines keyboard); with USB machines"
                  " machine 2 is the second machine, or simulated while only one is plugged in"};
    }
    if (options.machines == MachineSource::Auto) options.machines = MachineSource::Keyboard;
  }
  if (!options.usbIds.empty() && !isUsbOrAuto(options.machines)) {
    return {{}, "--usb-id names USB machines: it goes with --machines usb or auto, not with the keyboard or bots"};
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
  // Each fills its box, and is held to the box's limits before the match
  // counts with it.
  const MatchMode mode = options.mode.value_or(MatchMode::TimedRace);
  const struct {
    const char* name;
    std::optional<std::string>* text;
    ui::Control box;
  } boxes[] = {{"--minutes", &options.minutes, ui::Control::编辑框_限时},
               {"--entries", &options.entries, ui::entryBoxOf(mode)},
               {"--members", &options.members, ui::Control::编辑框_团队人数},
               {"--flash", &options.flashSeconds, ui::Control::编辑框_闪灭}};
  for (const auto& box : boxes) {
    if (!given.contains(box.name)) continue;
    if (const auto refusal = ui::refusalOf(box.box, given[box.name])) return {{}, box.name + (" " + *refusal)};
    *box.text = given[box.name];
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
  return "usage: qiru-pk [--bank DIR] [--machines auto|usb] [--usb-id VVVV:PPPP]...\n"
         "       qiru-pk [--bank DIR] --machines keyboard [--opponent BOT]\n"
         "       qiru-pk [--bank DIR] --machines bots [--red BOT] [--blue BOT]\n"
         "  --bank DIR          the question bank folder\n"
         "  --history FILE|none the match history file (else history.sqlite3 beside the bank's user data);\n"
         "                      none keeps no history\n"
         "  --machines auto     USB machines when one is plugged in at start, else the keyboard (the default)\n"
         "  --machines usb      the USB machines: machine 1 the first in USB port order, machine 2 the second;\n"
         "                      with one machine, machine 2 is simulated\n"
         "  --usb-id VVVV:PPPP  also a USB machine: a device with these IDs (as lsusb shows them); repeatable\n"
         "  --machines keyboard machine 1 is the PC keyboard (F1 in the window shows the keys)\n"
         "  --machines bots     both machines are played by bots\n"
         "  --opponent BOT      machine 2 is a bot instead of the simulated machine 2; machine 1 is the keyboard\n"
         "  BOT                 cpm=N,errors=P,react=MS: chords a minute (300), share of wrong\n"
         "                      chords (0), ms from an entry shown to the first chord\n"
         "       qiru-pk --autoplay [--red BOT] [--blue BOT] [--screenshot FILE.png] [match options]\n"
         "  --autoplay          bots play one match in the window in real time, then the program ends\n"
         "  match options       --mode 0-3 --material FILE --minutes N --entries N --members N --flash SECONDS\n"
         "  --print-results     print every key record line and each round's result, as qiru-steno simulate does\n";
}

}  // namespace qiru::app
