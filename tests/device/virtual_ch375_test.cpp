// The virtual backend through the CH375 function table: what a virtual
// machine answers, sends and announces, byte by byte.

#include "device/virtual/virtual_ch375.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "device/link_test.h"
#include "tests/device/chord_keys.h"
#include "tests/device/report_bytes.h"
#include "tests/device/virtual_rig.h"

namespace qiru {
namespace {

using testing::hexOf;
using testing::keysOf;
using testing::kMachine1Number;
using testing::VirtualRig;

// What an interrupt routine received: when (ms since the rig started) and
// the bytes. Written on the library's thread while the test thread waits
// on the clock, so the two never run at once.
struct Received {
  std::int64_t atMs;
  std::string bytes;
  friend bool operator==(const Received&, const Received&) = default;
};

std::ostream& operator<<(std::ostream& out, const Received& received) {
  return out << "@" << received.atMs << " " << received.bytes;
}

Ch375InterruptRoutine recordInto(std::vector<Received>& received, const VirtualRig& rig) {
  return [&received, &rig](const std::uint8_t* data) { received.push_back({rig.elapsedMs(), hexOf(data)}); };
}

TEST(VirtualCh375, MachineReportsItsKeysWithItsNumbersInTurn) {
  for (const auto& [length, expected] : {
           std::pair{kLongReportLength, std::vector<Received>{{10, "07 7F 7F FF 9F 39 30 00"},
                                                              {50, "07 FF FF FF FF 85 BF 82"},
                                                              {90, "07 EF FF FF FF 39 30 00"}}},
           std::pair{kShortReportLength, std::vector<Received>{{10, "05 FF 7F 7F 9F 39 30 00"},
                                                               {50, "05 FF FF FF FF 85 BF 82"},
                                                               {90, "05 FF FF EF FF 39 30 00"}}},
       }) {
    VirtualRig rig;
    rig.plugIn(0, kMachine1Number, length);
    ASSERT_NE(rig.library.openDevice(0), kCh375InvalidHandle);
    std::vector<Received> received;
    ASSERT_NE(rig.library.setIntRoutine(0, recordInto(received, rig)), 0);
    // Sent out of order: each arrives at its own time.
    rig.library.sendKeys(0, rig.atMs(90), keysOf(":I"));
    rig.library.sendKeys(0, rig.atMs(10), keysOf("BA:FL"));
    rig.library.sendKeys(0, rig.atMs(50), keysOf(":"));
    rig.waitMs(100);
    EXPECT_EQ(received, expected) << "length " << length;
  }
}

// Keys struck while the program is not listening are lost, and a listener
// on the bus hears of each such report.
TEST(VirtualCh375, ReportsReachOnlyAnOpenDeviceWithARoutine) {
  VirtualRig rig;
  std::vector<std::pair<int, std::int64_t>> lost;  // device index, ms since the rig started
  rig.library.setLostReportListener(
      [&lost, &rig](int deviceIndex, std::int64_t atMs) { lost.emplace_back(deviceIndex, atMs - rig.atMs(0)); });
  rig.plugIn(0, kMachine1Number);
  std::vector<Received> received;
  EXPECT_EQ(rig.library.setIntRoutine(0, recordInto(received, rig)), 0) << "not open yet";
  rig.library.sendKeys(0, rig.atMs(10), keysOf(":I"));
  rig.waitMs(20);

  rig.library.openDevice(0);
  rig.library.sendKeys(0, rig.atMs(30), keysOf(":I"));  // open, no routine
  rig.waitMs(20);
  rig.library.setIntRoutine(0, recordInto(received, rig));
  rig.library.sendKeys(0, rig.atMs(50), keysOf(":I"));
  rig.waitMs(20);
  rig.library.closeDevice(0);
  rig.library.sendKeys(0, rig.atMs(70), keysOf(":I"));
  rig.waitMs(20);
  EXPECT_EQ(received, (std::vector<Received>{{50, "07 EF FF FF FF 39 30 00"}}));

  rig.library.openDevice(0);
  rig.library.setIntRoutine(0, recordInto(received, rig));
  rig.library.unplug(0);
  rig.library.sendKeys(0, rig.atMs(110), keysOf(":I"));
  rig.waitMs(40);
  EXPECT_EQ(received.size(), 1u) << "nothing from an unplugged machine";
  EXPECT_EQ(rig.library.openDevice(0), kCh375InvalidHandle);
  EXPECT_EQ(lost, (std::vector<std::pair<int, std::int64_t>>{{0, 10}, {0, 30}, {0, 70}, {0, 110}}));
}

// Every plug monitor hears of every device, whichever index it watches.
TEST(VirtualCh375, PlugNoticesGoToEveryMonitor) {
  VirtualRig rig;
  std::vector<std::string> notices;
  for (const int index : {0, 1}) {
    ASSERT_NE(rig.library.setDeviceNotify(index, "", [&notices, index](std::uint32_t status) {
      notices.push_back(std::to_string(index) + ":" + std::to_string(status));
    }), 0);
  }
  rig.plugIn(2, 999);
  rig.waitMs(1);
  rig.library.unplug(2);
  rig.waitMs(1);
  EXPECT_EQ(notices, (std::vector<std::string>{"0:3", "1:3", "0:0", "1:0"}));

  rig.library.setDeviceNotify(1, "", {});
  rig.library.refusePlugMonitors(true);
  EXPECT_EQ(rig.library.setDeviceNotify(1, "", [](std::uint32_t) {}), 0);
  rig.plugIn(2, 999);
  rig.waitMs(1);
  EXPECT_EQ(notices.back(), "0:3") << "monitor 1 was removed";
}

TEST(VirtualCh375, OpenFailsWithoutAMachineOrWhenRefused) {
  VirtualRig rig;
  EXPECT_EQ(rig.library.openDevice(0), kCh375InvalidHandle);
  EXPECT_EQ(rig.library.openDevice(kVirtualDeviceSlots), kCh375InvalidHandle);
  auto machine = rig.plugIn(0, kMachine1Number);
  machine->refuseOpens(2);
  EXPECT_EQ(rig.library.openDevice(0), kCh375InvalidHandle);
  EXPECT_EQ(rig.library.openDevice(0), kCh375InvalidHandle);
  const Ch375Handle handle = rig.library.openDevice(0);
  EXPECT_GT(handle, 1) << "a real handle, never the simulated machine's";
}

// The link test against each way a machine can answer; a silent machine
// keeps the test for the whole read time-out.
TEST(LinkTest, CodeForEachKindOfAnswer) {
  struct Case {
    ReplyFault fault;
    LinkTestResult result;
    std::int64_t takesMs;
  };
  const Case cases[] = {
      {ReplyFault::None, LinkTestResult::Answers, 0},
      {ReplyFault::WrongBytes, LinkTestResult::WrongReply, 0},
      {ReplyFault::SixBytes, LinkTestResult::WrongLength, 0},
      {ReplyFault::Silent, LinkTestResult::ReadFailed, 3000},
  };
  for (const Case& c : cases) {
    VirtualRig rig;
    rig.plugIn(0, kMachine1Number)->setReplyFault(c.fault);
    rig.library.openDevice(0);
    rig.library.setTimeout(0, 3000, 3000);
    EXPECT_EQ(linkTest(rig.library, 0), c.result) << static_cast<int>(c.fault);
    EXPECT_EQ(rig.elapsedMs(), c.takesMs) << static_cast<int>(c.fault);
  }

  VirtualRig rig;
  rig.plugIn(0, kMachine1Number);
  rig.library.openDevice(0);
  rig.library.unplug(0);
  EXPECT_EQ(linkTest(rig.library, 0), LinkTestResult::WriteFailed);
}

// Three rounds at most, each failure followed by a reset and a 500 ms pause.
TEST(LinkTest, CheckRetriesAndReturnsTheLastCode) {
  struct Case {
    ReplyFault fault;
    int faultyReplies;
    LinkTestResult result;
    std::int64_t takesMs;
  };
  const Case cases[] = {
      {ReplyFault::None, 0, LinkTestResult::Answers, 0},
      {ReplyFault::SixBytes, 2, LinkTestResult::Answers, 1000},
      {ReplyFault::SixBytes, kAlways, LinkTestResult::WrongLength, 1500},
      {ReplyFault::Silent, kAlways, LinkTestResult::ReadFailed, 3 * (3000 + 500)},
  };
  for (const Case& c : cases) {
    VirtualRig rig;
    rig.plugIn(0, kMachine1Number)->setReplyFault(c.fault, c.faultyReplies);
    rig.library.openDevice(0);
    EXPECT_EQ(linkCheck(rig.library, rig.clock, 0), c.result) << c.faultyReplies;
    EXPECT_EQ(rig.elapsedMs(), c.takesMs) << c.faultyReplies;
  }
}

}  // namespace
}  // namespace qiru
