#pragma once
// Which CH375 library carries the machines, decided once at start: the USB
// machines through libusb (--machines usb, or auto with a machine plugged
// in), else the virtual library of the keyboard machine and the bots.
//
// The USB library tells the user of problems they can fix (no permission,
// a machine held by another program) as boxes of the program.

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "device/ch375_library.h"
#include "support/messages.h"

namespace qiru::app {

// Boxes about a USB machine the user can fix stay up this long.
inline constexpr int kUsbProblemMessageTimeoutMs = 10000;

// What starting the USB library gave.
struct UsbStart {
  std::unique_ptr<Ch375Library> library;  // none: it could not start
  int presentMachines = 0;                // machines plugged in at start
  std::string failure;                    // why it could not start
};
using UsbStarter = std::function<UsbStart()>;

struct MachineBackend {
  MachineSource machines = MachineSource::Keyboard;  // never Auto
  std::unique_ptr<Ch375Library> usb;                 // the USB library, for Usb
  // Not empty: the USB machines were asked for and cannot be reached; the
  // program cannot start as asked.
  std::string error;
};

// Decides what the options ask for; starts the USB library only for usb
// and auto. `notes` hears why auto did not take the USB machines when it
// could not start them, and which machines auto took.
MachineBackend chooseMachineBackend(MachineSource asked, const UsbStarter& startUsb, std::ostream& notes);

// Starts the USB machines' library: on Linux the libusb backend with the
// machine IDs and the extra ones, problems the user can fix shown through
// `messages` (any thread); on Windows the chip vendor's CH375DLL.DLL, a
// library that cannot be used told in one box. Without USB support in the
// build it always fails, saying so. One file per platform.
UsbStarter usbStarter(std::vector<UsbId> extraIds, MessageService& messages);

// The box of a USB problem the user can fix, with the library's text.
void showUsbProblem(MessageService& messages, const std::string& text);

}  // namespace qiru::app
