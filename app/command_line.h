#pragma once
// The program's command line.
//
//   --bank DIR          the question bank folder (else beside the program
//                       or in the user's data folder)
//   --history FILE|none the match history file (else beside the program or
//                       in the user's data folder); none keeps no history
//   --machines auto     the USB machines when one is plugged in at start,
//                       else the keyboard machine (the default)
//   --machines usb      the USB machines: machine 1 the first in USB port
//                       order, machine 2 the second (simulated while only
//                       one is plugged in)
//   --usb-id VVVV:PPPP  another ID of a USB machine (repeatable; usb, auto)
//   --machines keyboard machine 1 is the PC keyboard
//   --machines bots     both machines are bots (--red BOT, --blue BOT)
//   --opponent BOT      machine 2 is a bot instead of the simulated machine;
//                       machine 1 is then the keyboard (a bot cannot play
//                       beside USB machines)
//   BOT                 cpm=N,errors=P (chords a minute, share of wrong chords)
//   --autoplay          bots play one match in the window, in real time, and
//                       the program ends (--red BOT; --blue BOT, else machine
//                       2 is simulated); --screenshot FILE saves the window
//                       when the last result shows
//   --print-results     each key record line and each round's result on
//                       standard output, as qiru-steno simulate prints them
//                       (--autoplay prints them always)
//   --mode N --material FILE --minutes N --entries N --members N --flash S
//                       the match's options, as the window's boxes take them

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "device/libusb/usb_ids.h"
#include "simulation/match_bot.h"
#include "support/match_types.h"

namespace qiru::app {

// Auto is decided at start (usb_machines.h): Usb when a USB machine is
// plugged in, else Keyboard.
enum class MachineSource { Auto, Keyboard, Usb, Bots };

struct AppOptions {
  std::optional<std::filesystem::path> bank;
  std::optional<std::string> history;  // --history FILE, or "none"
  MachineSource machines = MachineSource::Auto;
  std::vector<UsbId> usbIds;     // more IDs of USB machines (usb, auto)
  std::optional<BotStyle> red;   // machine 1's bot (bots only)
  std::optional<BotStyle> blue;  // machine 2's bot; none: simulated machine 2
  bool help = false;

  // The boxes of the window, filled before the first match.
  std::optional<MatchMode> mode;
  std::optional<std::filesystem::path> material;
  std::optional<std::string> minutes;
  std::optional<std::string> entries;
  std::optional<std::string> members;
  std::optional<std::string> flashSeconds;

  bool printResults = false;
  bool autoplay = false;
  std::optional<std::filesystem::path> screenshot;
};

struct ParsedCommandLine {
  AppOptions options;
  std::string error;  // empty when the command line is good
};

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args);

// The usage text for --help and for a wrong command line.
std::string usageText();

}  // namespace qiru::app
