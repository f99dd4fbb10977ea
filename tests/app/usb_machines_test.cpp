// Which library carries the machines at start: what --machines usb and auto
// make of a USB library that starts, finds machines or does not start.

#include "app/usb_machines.h"

#include <gtest/gtest.h>

#include <sstream>

#include "device/virtual/virtual_ch375.h"
#include "support/headless_messages.h"

namespace qiru::app {
namespace {

// A USB start that fails with `failure`, or (without one) starts with
// `present` machines.
struct FakeStart {
  std::string failure;
  int present = 0;
};

TEST(MachineChoice, ChoiceByWhatTheStartFinds) {
  const std::string kFailure = "cannot reach the USB stenotype machines: libusb could not start (no memory)";
  const struct {
    MachineSource asked;
    FakeStart start;
    MachineSource machines;
    bool startsUsb;  // the USB library is started (and kept when it plays)
    std::string error;
    std::string note;
  } cases[] = {
      {MachineSource::Keyboard, {}, MachineSource::Keyboard, false, "", ""},
      {MachineSource::Bots, {}, MachineSource::Bots, false, "", ""},
      {MachineSource::Auto, {"", 0}, MachineSource::Keyboard, true, "", ""},
      {MachineSource::Auto, {"", 2}, MachineSource::Usb, true, "",
       "qiru-pk: 2 USB stenotype machine(s) plugged in: playing on them (--machines keyboard plays from the keyboard)\n"},
      {MachineSource::Auto, {kFailure, 0}, MachineSource::Keyboard, true, "",
       "qiru-pk: " + kFailure + "; machine 1 is the PC keyboard\n"},
      // Asked for, the USB machines wait for a machine to be plugged in.
      {MachineSource::Usb, {"", 0}, MachineSource::Usb, true, "", ""},
      {MachineSource::Usb, {kFailure, 0}, MachineSource::Usb, true, kFailure, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("asked " + std::to_string(static_cast<int>(c.asked)) + ", " + std::to_string(c.start.present) +
                 " present, failure \"" + c.start.failure + "\"");
    bool started = false;
    const UsbStarter starter = [&] {
      started = true;
      UsbStart start;
      start.failure = c.start.failure;
      if (c.start.failure.empty()) {
        start.library = std::make_unique<VirtualCh375>(realClock());
        start.presentMachines = c.start.present;
      }
      return start;
    };
    std::ostringstream notes;
    const MachineBackend backend = chooseMachineBackend(c.asked, starter, notes);
    EXPECT_EQ(backend.machines, c.machines);
    EXPECT_EQ(started, c.startsUsb);
    EXPECT_EQ(backend.usb != nullptr, c.machines == MachineSource::Usb && c.error.empty());
    EXPECT_EQ(backend.error, c.error);
    EXPECT_EQ(notes.str(), c.note);
  }
}

// The library's texts (no permission, machine busy) come from its threads
// and must be seen: a warning box over the window that stays ten seconds.
TEST(MachineChoice, ProblemsTheUserCanFixShowAsBoxes) {
  HeadlessMessages messages;
  showUsbProblem(messages, "The stenotype machine 1a86:5537 at USB port 1-2 cannot be opened: ...");
  const auto records = messages.records();
  ASSERT_EQ(records.size(), 1u);
  const MessageRequest& box = records[0].request;
  EXPECT_EQ(box.caption, "错误信息：");
  EXPECT_EQ(box.text, "The stenotype machine 1a86:5537 at USB port 1-2 cannot be opened: ...");
  EXPECT_EQ(box.icon, MessageIcon::Warning);
  EXPECT_EQ(box.buttons, MessageButtons::Ok);
  EXPECT_EQ(box.owner, MessageOwner::MainWindow);
  EXPECT_TRUE(box.topmost);
  EXPECT_EQ(box.timeoutMs, 10000);
}

}  // namespace
}  // namespace qiru::app
