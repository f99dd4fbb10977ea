// The chip library backend over the stand-in CH375DLL.DLL, loaded by name
// as the vendor's library is: the same machines behave the same through it
// as through the virtual library directly (plugging, link test, keys,
// unplugging), and a library that is missing or lacks a function is told in
// one box instead of crashing. Real threads of the virtual library, in
// virtual time.

#include "device/ch375dll/ch375dll_library.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "device/ch375dll/ch375dll_messages.h"
#include "device/machine_connection.h"
#include "support/headless_messages.h"
#include "tests/device/ch375dll/stand_in_machines.h"
#include "tests/device/chord_keys.h"
#include "tests/device/recording_labels.h"
#include "tests/device/virtual_rig.h"

namespace qiru {
namespace {

using testing::keysOf;
using testing::kMachine1Number;
using testing::RecordingLabels;
using testing::StandInMachines;

TEST(ChipLibrary, ThatCannotBeUsedIsToldInOneBoxNamingTheFile) {
  struct Case {
    std::wstring file;
    std::string failure;
  };
  const Case cases[] = {
      {L"no such folder\\CH375DLL.DLL", ch375DllMissingText()},
      {testing::kLackingStandInFile, ch375DllLacksFunctionText("CH375SetIntRoutine")},
  };
  for (const Case& c : cases) {
    const Ch375DllOpen opened = Ch375DllLibrary::open(c.file);
    EXPECT_FALSE(opened.library);
    EXPECT_EQ(opened.failure, c.failure);
  }
  EXPECT_NE(ch375DllMissingText().find("CH375DLL.DLL"), std::string::npos);
  EXPECT_NE(ch375DllMissingText().find("请安装"), std::string::npos) << "says what to install";
  EXPECT_NE(ch375DllLacksFunctionText("CH375SetIntRoutine").find("CH375SetIntRoutine"), std::string::npos);
}

// The program's machine connection on virtual machines, reached either
// directly or through the chip library backend over the stand-in.
struct BackendRig : testing::VirtualRig {
  explicit BackendRig(bool throughChipLibrary) {
    if (!throughChipLibrary) return;
    standIn.emplace(library);
    chip = Ch375DllLibrary::open().library;
  }
  Ch375Library& program() { return chip ? static_cast<Ch375Library&>(*chip) : library; }

  std::optional<StandInMachines> standIn;
  std::unique_ptr<Ch375DllLibrary> chip;
  RecordingLabels labels{*this};
  HeadlessMessages messages{nullptr, answerUnattended, &clock};
  std::optional<MachineConnection> machines;

  void start() { machines.emplace(program(), clock, messages, labels).initialise(); }

  // What the players and the program saw: the labels, the boxes and the
  // reports that reached machine 1's queue, with the virtual times.
  std::string seen() {
    std::ostringstream out;
    for (const std::string& line : labels.take()) out << line << "\n";
    for (const auto& record : messages.records()) out << "box " << record.request.caption << record.request.text << "\n";
    KeyReport report{};
    while (machines->queue(kRedSide).pop(report)) {
      out << "@" << report.timeUs / kUsPerMs - testing::kRigStartMs << " keys " << report.pressedCount << " " << std::hex
          << report.chordCode << std::dec << "\n";
    }
    out << "open " << machines->isOpen(kRedSide) << " number " << machines->machineNumber(kRedSide) << " at "
        << elapsedMs() << "\n";
    return out.str();
  }
};

using Scenario = void (*)(BackendRig& rig);

// Each scenario, played once on the virtual library directly and once
// through the chip library backend: the same labels, boxes, keys and times.
TEST(ChipLibrary, MachinesBehaveAsOnTheVirtualLibrary) {
  struct Case {
    const char* name;
    Scenario play;
    const char* expectedInTrace;
  };
  const Case cases[] = {
      {"present at start, strikes a chord",
       [](BackendRig& rig) {
         rig.attach(0, kMachine1Number);
         rig.start();
         rig.library.sendKeys(0, rig.clock.nowMs(), keysOf("BA:FL"));
         rig.waitMs(100);
         rig.library.sendKeys(0, rig.clock.nowMs(), keysOf(""));
         rig.waitMs(100);
       },
       "keys"},
      {"fails the link test",
       [](BackendRig& rig) {
         rig.attach(0, kMachine1Number)->setReplyFault(ReplyFault::WrongBytes);
         rig.start();
       },
       "错误代码：1"},
      {"unplugged, then plugged in again",
       [](BackendRig& rig) {
         rig.attach(0, kMachine1Number);
         rig.start();
         rig.waitMs(100);
         rig.library.unplug(0);
         rig.waitMs(1000);
         rig.plugIn(0, kMachine1Number);
         rig.waitMs(1000);
         rig.library.sendKeys(0, rig.clock.nowMs(), keysOf(":I"));
         rig.waitMs(10);
       },
       "1 disconnected"},
      {"refuses the interrupt routine",
       [](BackendRig& rig) {
         rig.attach(0, kMachine1Number)->refuseInterruptRoutine(true);
         rig.start();
       },
       "无法调用"},
  };
  for (const Case& c : cases) {
    std::string seen[2];
    for (const bool through : {false, true}) {
      BackendRig rig(through);
      if (through) {
        ASSERT_TRUE(rig.standIn->connected()) << "the stand-in CH375DLL.DLL lies beside the test";
        ASSERT_TRUE(rig.chip) << c.name;
      }
      c.play(rig);
      seen[through] = rig.seen();
      rig.machines.reset();
    }
    EXPECT_NE(seen[false].find(c.expectedInTrace), std::string::npos) << c.name << "\n" << seen[false];
    EXPECT_EQ(seen[true], seen[false]) << c.name;
  }
}

}  // namespace
}  // namespace qiru
