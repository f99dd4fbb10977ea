#include "app/usb_machines.h"

#include <ostream>
#include <utility>

#include "support/message_boxes.h"

#ifdef QIRU_HAS_USB
#include <stdexcept>

#include "device/libusb/libusb_ch375.h"
#endif

namespace qiru::app {

namespace {

constexpr const char* kUsbProblemCaption = "错误信息：";

}  // namespace

MachineBackend chooseMachineBackend(MachineSource asked, const UsbStarter& startUsb, std::ostream& notes) {
  if (asked != MachineSource::Usb && asked != MachineSource::Auto) return {asked, nullptr, {}};
  UsbStart started = startUsb();
  if (!started.library) {
    if (asked == MachineSource::Usb) return {MachineSource::Usb, nullptr, started.failure};
    notes << "qiru-pk: " << started.failure << "; machine 1 is the PC keyboard\n";
    return {MachineSource::Keyboard, nullptr, {}};
  }
  // Asked for, the USB machines wait for a machine to be plugged in.
  if (asked == MachineSource::Auto && started.presentMachines == 0) return {MachineSource::Keyboard, nullptr, {}};
  if (asked == MachineSource::Auto) {
    notes << "qiru-pk: " << started.presentMachines
          << " USB stenotype machine(s) plugged in: playing on them (--machines keyboard plays from the keyboard)\n";
  }
  return {MachineSource::Usb, std::move(started.library), {}};
}

void showUsbProblem(MessageService& messages, const std::string& text) {
  showTimedMessage(messages, text, {MessageButtons::Ok, MessageIcon::Warning}, kUsbProblemCaption,
                   MessageOwner::MainWindow, true, kUsbProblemMessageTimeoutMs);
}

#ifdef QIRU_HAS_USB

UsbStarter libusbStarter(std::vector<UsbId> extraIds, MessageService& messages) {
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

#else

UsbStarter libusbStarter(std::vector<UsbId>, MessageService&) {
  return [] {
    return UsbStart{nullptr, 0,
                    "this build has no USB support (libusb-1.0 was missing when it was built; scripts/setup-debian.sh"
                    " installs it)"};
  };
}

#endif

}  // namespace qiru::app
