// A build without USB machines: libusb-1.0 was missing when it was built.
#include "app/usb_machines.h"

namespace qiru::app {

UsbStarter usbStarter(std::vector<UsbId>, MessageService&) {
  return [] {
    return UsbStart{nullptr, 0,
                    "this build has no USB support (libusb-1.0 was missing when it was built; scripts/setup-debian.sh"
                    " installs it)"};
  };
}

}  // namespace qiru::app
