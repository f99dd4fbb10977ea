#pragma once
// What the libusb backend tells the person at the machine when it cannot
// reach a stenotype machine for a reason they can fix.

#include <string>

#include "device/libusb/device_order.h"
#include "device/libusb/usb_ids.h"

namespace qiru {

// Where the program's udev rule is: where it was installed, or, for a
// program run from its build tree, the rule in the source tree.
std::string defaultUdevRulePath();

// The system let this user see the machine but not open it: without the
// program's udev rule only root may. rulePath is where the rule is installed.
std::string permissionDeniedText(UsbId id, const UsbLocation& location, const std::string& rulePath);
// Another program (or another copy of this one) holds the machine.
std::string deviceBusyText(UsbId id, const UsbLocation& location);

}  // namespace qiru
