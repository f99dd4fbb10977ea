#include "device/libusb/usb_messages.h"

namespace qiru {

namespace {

std::string machineAt(UsbId id, const UsbLocation& location) {
  return "The stenotype machine " + formatUsbId(id) + " at USB port " + describeLocation(location);
}

}  // namespace

std::string permissionDeniedText(UsbId id, const UsbLocation& location, const std::string& rulePath) {
  return machineAt(id, location) +
         " cannot be opened: this user has no permission to use it. The udev rule " + rulePath +
         " gives the user at the desktop access to the machines. Install it (it comes with the program; copy it to "
         "/etc/udev/rules.d/ if the program was not installed as a package), run `sudo udevadm control --reload`, "
         "then unplug the machine and plug it in again.";
}

std::string deviceBusyText(UsbId id, const UsbLocation& location) {
  return machineAt(id, location) +
         " is in use by another program (perhaps another copy of qiru-pk). Close that program, then unplug the "
         "machine and plug it in again.";
}

}  // namespace qiru
