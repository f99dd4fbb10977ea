#include "app/usb_machines.h"

#include <ostream>
#include <utility>

#include "support/message_boxes.h"


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

}  // namespace qiru::app
