// The USB machines on Linux: the libusb backend.
#include <stdexcept>

#include "app/usb_machines.h"
#include "device/libusb/libusb_ch375.h"

namespace qiru::app {

UsbStarter usbStarter(std::vector<UsbId> extraIds, MessageService& messages) {
  return [extraIds = std::move(extraIds), &messages] {
    LibusbCh375Options options;
    options.ids = machineIdsWith(extraIds);
    options.report = [&messages](const std::string& text) { showUsbProblem(messages, text); };
    UsbStart started;
    try {
      auto usb = std::make_unique<LibusbCh375>(std::move(options));
      started.presentMachines = usb->presentMachines();
      started.library = std::move(usb);
    } catch (const std::runtime_error& failure) {
      started.failure = failure.what();
    }
    return started;
  };
}

}  // namespace qiru::app
