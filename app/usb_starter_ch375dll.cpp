// The USB machines on Windows: the chip vendor's CH375DLL.DLL, loaded when
// the machines are first asked for. When it cannot be used, one box says
// which file is missing and what to install.
#include "app/usb_machines.h"
#include "device/ch375dll/ch375dll_library.h"
#include "device/ch375dll/ch375dll_messages.h"
#include "support/message_boxes.h"

namespace qiru::app {
namespace {

// Machines plugged in now: the device indexes of the two machines that
// the library can open.
int presentMachines(Ch375Library& library) {
  int present = 0;
  for (const int deviceIndex : {0, 1}) {
    if (library.openDevice(deviceIndex) == kCh375InvalidHandle) continue;
    library.closeDevice(deviceIndex);
    ++present;
  }
  return present;
}

}  // namespace

UsbStarter usbStarter(std::vector<UsbId>, MessageService& messages) {
  return [&messages] {
    Ch375DllOpen opened = Ch375DllLibrary::open();
    UsbStart started;
    if (!opened.library) {
      showTimedMessage(messages, opened.failure, {MessageButtons::Ok, MessageIcon::Warning},
                       std::string(kCh375DllMessageCaption), MessageOwner::MainWindow, true,
                       kUsbProblemMessageTimeoutMs);
      started.failure = "the USB machines' library CH375DLL.DLL cannot be used";
      return started;
    }
    started.presentMachines = presentMachines(*opened.library);
    started.library = std::move(opened.library);
    return started;
  };
}

}  // namespace qiru::app
