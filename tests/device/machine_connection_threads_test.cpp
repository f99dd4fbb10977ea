// Machine connection and plug monitoring on virtual machines, in virtual
// time: what the players see on the online labels, the messages, and how
// long each step takes.

#include "device/machine_connection.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "device/reader_threads.h"
#include "support/headless_messages.h"
#include "tests/device/chord_keys.h"
#include "tests/device/recording_labels.h"
#include "tests/device/report_bytes.h"
#include "tests/device/virtual_rig.h"

namespace qiru {
namespace {

using testing::keysOf;
using testing::kMachine1Number;
using testing::kMachine2Number;
using testing::RecordingLabels;
using testing::reportBytes;

using Log = std::vector<std::string>;

struct ConnectionRig : testing::VirtualRig {
  RecordingLabels labels{*this};
  HeadlessMessages messages{nullptr, answerUnattended, &clock};
  MachineConnection machines{library, clock, messages, labels};

  // Machine 1 plugged in before the start, and reported in.
  void startWithMachine1() {
    attach(0, kMachine1Number);
    machines.initialise();
    reportIn(kRedSide);
  }

  // The side's machine strikes a key: its number reaches the labels.
  void reportIn(int side) {
    library.sendKeys(deviceIndexOf(side), clock.nowMs(), keysOf(":I"));
    waitMs(1);
    KeyReport report{};
    while (machines.queue(side).pop(report)) {
    }
    machines.refreshMachineLabels();
  }
};

TEST(MachineConnection, StartWithoutMachinesThenAttachMachine1) {
  ConnectionRig rig;
  rig.machines.initialise();
  rig.waitMs(1000);
  EXPECT_TRUE(rig.labels.take().empty()) << "the labels stay as the window defines them";
  EXPECT_TRUE(rig.messages.records().empty());
  EXPECT_FALSE(rig.machines.isOpen(kRedSide));

  rig.plugIn(0, kMachine1Number);
  rig.waitMs(1000);
  // Machine 1 opens on the first attempt (40 ms); the same notice makes
  // side 2 try five times in vain (200 ms more).
  EXPECT_EQ(rig.labels.take(), (Log{"@1040 1 connected", "@1040 2 disconnected"}));
  EXPECT_TRUE(rig.machines.isOpen(kRedSide));
  EXPECT_FALSE(rig.machines.isOpen(kBlueSide));
  EXPECT_TRUE(rig.messages.records().empty());

  rig.reportIn(kRedSide);
  EXPECT_EQ(rig.labels.take(), (Log{"@2001 1 number 12345"}));
  EXPECT_EQ(rig.machines.machineNumber(kRedSide), kMachine1Number);
  rig.machines.refreshMachineLabels();
  EXPECT_TRUE(rig.labels.take().empty()) << "nothing changed, nothing rewritten";
}

TEST(MachineConnection, OpensOnALaterAttemptOrResetsTheSide) {
  struct Case {
    int refusedOpens;
    Log labels;
  };
  const Case cases[] = {
      {3, {"@160 1 connected", "@160 2 disconnected"}},
      {kAlways, {"@200 1 disconnected", "@200 2 disconnected"}},
  };
  for (const Case& c : cases) {
    ConnectionRig rig;
    rig.machines.initialise();
    rig.plugIn(0, kMachine1Number)->refuseOpens(c.refusedOpens);
    rig.waitMs(1000);
    EXPECT_EQ(rig.labels.take(), c.labels) << c.refusedOpens;
    EXPECT_TRUE(rig.messages.records().empty());
  }
}

TEST(MachineConnection, RemovalOfAnotherDeviceLeavesMachine1Open) {
  ConnectionRig rig;
  rig.startWithMachine1();
  const Ch375Handle handle = rig.machines.handle(kRedSide);
  rig.labels.take();

  rig.plugIn(2, 999);
  rig.waitMs(1000);
  rig.library.unplug(2);
  rig.waitMs(1000);
  EXPECT_EQ(rig.machines.handle(kRedSide), handle);
  EXPECT_EQ(rig.machines.machineNumber(kRedSide), kMachine1Number);
  EXPECT_TRUE(rig.labels.take().empty());
  EXPECT_TRUE(rig.messages.records().empty());

  rig.reportIn(kRedSide);
  EXPECT_EQ(rig.machines.queue(kRedSide).machineNumber(), kMachine1Number) << "still listening";
}

TEST(MachineConnection, RemovalOfMachine1ClosesAndResetsItsSide) {
  ConnectionRig rig;
  rig.startWithMachine1();
  rig.library.sendKeys(0, rig.clock.nowMs(), keysOf("BA:FL"));
  rig.waitMs(10);  // left unread
  rig.labels.take();

  rig.library.unplug(0);
  rig.waitMs(1000);
  EXPECT_FALSE(rig.machines.isOpen(kRedSide));
  EXPECT_EQ(rig.machines.machineNumber(kRedSide), 0);
  EXPECT_EQ(rig.machines.lastReportLength(kRedSide), 0);
  EXPECT_TRUE(rig.machines.queue(kRedSide).isEmpty());
  EXPECT_EQ(rig.labels.take(), (Log{"@11 1 number 0", "@11 1 disconnected"}));

  // Plugged in again, it opens after 40 ms and reports in anew.
  rig.plugIn(0, kMachine1Number);
  rig.waitMs(1000);
  EXPECT_EQ(rig.labels.take(), (Log{"@1051 1 connected"}));
  rig.reportIn(kRedSide);
  EXPECT_EQ(rig.machines.machineNumber(kRedSide), kMachine1Number);
}

// A machine that keeps failing the link test stays open and keeps sending
// keys; the user is told the last code. Three rounds of 500 ms, then the
// box's 3 s.
TEST(MachineConnection, FailingLinkCheckShowsTheLastCode) {
  struct Case {
    ReplyFault fault;
    int code;
    std::int64_t takesMs;
  };
  const Case cases[] = {
      {ReplyFault::WrongBytes, 1, 3 * 500 + 3000},
      {ReplyFault::SixBytes, 2, 3 * 500 + 3000},
      {ReplyFault::Silent, 3, 3 * (3000 + 500) + 3000},
  };
  for (const Case& c : cases) {
    ConnectionRig rig;
    rig.attach(0, kMachine1Number)->setReplyFault(c.fault);
    rig.machines.initialise();
    EXPECT_EQ(rig.elapsedMs(), c.takesMs) << c.code;
    const auto records = rig.messages.records();
    ASSERT_EQ(records.size(), 1u) << c.code;
    const MessageRequest& box = records[0].request;
    EXPECT_EQ(box.caption, " 信息提示 ");
    EXPECT_EQ(box.text, "1号机错误：\r\nUSB接口连接异常，请拔下该速录机重新连接或插到其他USB接口上！ \r\n错误代码：" +
                            std::to_string(c.code) +
                            "\r\n如持续出现该错误，请先在其他计算机上测试是否正常。\r\n如问题依旧，请尽快返厂维修！");
    EXPECT_EQ(box.icon, MessageIcon::Warning);
    EXPECT_EQ(box.timeoutMs, 3000);
    EXPECT_EQ(box.owner, MessageOwner::MainWindow);
    EXPECT_TRUE(box.topmost);

    EXPECT_TRUE(rig.machines.isOpen(kRedSide));
    rig.reportIn(kRedSide);
    EXPECT_EQ(rig.machines.machineNumber(kRedSide), kMachine1Number) << "keys still arrive";
  }
}

TEST(MachineConnection, PlugMonitorsThatCannotBeInstalledAreReported) {
  ConnectionRig rig;
  rig.library.refusePlugMonitors(true);
  rig.attach(0, kMachine1Number);
  rig.machines.initialise();
  const auto records = rig.messages.records();
  ASSERT_EQ(records.size(), 2u);
  for (const int side : {kRedSide, kBlueSide}) {
    const MessageRequest& box = records[sideSlot(side)].request;
    EXPECT_EQ(box.caption, "错误信息：");
    EXPECT_EQ(box.text, "设置" + std::to_string(side) + "号机插拔监视失败，请拔下速录机重新插上！");
    EXPECT_EQ(box.icon, MessageIcon::None);
    EXPECT_EQ(box.timeoutMs, 5000);
  }
  EXPECT_FALSE(rig.machines.isOpen(kRedSide)) << "a side without a monitor is not opened";
}

TEST(MachineConnection, InterruptRoutineThatCannotBeInstalledIsReported) {
  ConnectionRig rig;
  rig.attach(0, kMachine1Number)->refuseInterruptRoutine(true);
  rig.machines.initialise();
  const auto records = rig.messages.records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].request.caption, "错误信息：");
  EXPECT_EQ(records[0].request.text, "1号机状态异常：无法调用 0 ，请拔下速录机重新插上！");
  EXPECT_EQ(records[0].request.icon, MessageIcon::Warning);
  EXPECT_EQ(records[0].request.timeoutMs, 5000);
  EXPECT_TRUE(rig.machines.isOpen(kRedSide));
}

TEST(MachineConnection, ReportsTooShortForKeysAreNotQueued) {
  ConnectionRig rig;
  rig.attach(0, kMachine1Number);
  rig.machines.initialise();
  rig.library.sendData(0, rig.clock.nowMs(), reportBytes("03 00 00 00 00 00 00 00"));
  rig.waitMs(1);
  EXPECT_EQ(rig.machines.lastReportLength(kRedSide), 3);
  EXPECT_TRUE(rig.machines.queue(kRedSide).isEmpty());
  rig.library.sendData(0, rig.clock.nowMs(), reportBytes("07 FE FF FF FF 39 30 00"));
  rig.waitMs(1);
  EXPECT_EQ(rig.machines.lastReportLength(kRedSide), 7);
  EXPECT_FALSE(rig.machines.queue(kRedSide).isEmpty());
}

TEST(MachineConnection, SimulatedMachine2PlaysWithFixedNumbers) {
  ConnectionRig rig;
  rig.attach(0, kMachine1Number);
  rig.machines.initialise();
  rig.labels.take();

  rig.machines.simulateMachine2(true);
  EXPECT_EQ(rig.machines.machineNumber(kBlueSide), 99999);
  EXPECT_EQ(rig.machines.secondNumber(kBlueSide), 180101);
  EXPECT_EQ(rig.machines.handle(kBlueSide), 1);
  EXPECT_EQ(rig.machines.lastReportLength(kBlueSide), 7);
  EXPECT_TRUE(rig.machines.hasReportedIn(kBlueSide));
  rig.machines.refreshMachineLabels();
  EXPECT_EQ(rig.labels.take(), (Log{"@0 2 number 99999", "@0 2 connected"}));

  rig.machines.simulateMachine2(false);
  EXPECT_FALSE(rig.machines.isOpen(kBlueSide));
  EXPECT_FALSE(rig.machines.hasReportedIn(kBlueSide));
  EXPECT_EQ(rig.machines.lastReportLength(kBlueSide), 0);
  rig.machines.refreshMachineLabels();
  EXPECT_EQ(rig.labels.take(), (Log{"@0 2 number 0", "@0 2 disconnected"}));
}

// The end of every round switches the simulation off: a real machine 2
// that was plugged in meanwhile keeps its connection.
TEST(MachineConnection, SwitchingTheSimulationOffLeavesARealMachine2Alone) {
  ConnectionRig rig;
  rig.attach(0, kMachine1Number);
  rig.machines.initialise();
  rig.machines.simulateMachine2(true);
  rig.plugIn(1, kMachine2Number);
  rig.waitMs(1000);
  rig.reportIn(kBlueSide);
  EXPECT_EQ(rig.machines.machineNumber(kBlueSide), 99999) << "simulated while the flag is on";

  rig.machines.simulateMachine2(false);
  EXPECT_TRUE(rig.machines.isOpen(kBlueSide));
  EXPECT_EQ(rig.machines.machineNumber(kBlueSide), kMachine2Number);
  rig.library.sendKeys(1, rig.clock.nowMs(), keysOf(":I"));
  rig.waitMs(1);
  EXPECT_EQ(rig.machines.lastReportLength(kBlueSide), 7);
}

TEST(MachineConnection, ClearingTheQueuesMakesMachinesReportInAgain) {
  ConnectionRig rig;
  rig.startWithMachine1();
  rig.library.sendKeys(0, rig.clock.nowMs(), keysOf("BA:FL"));
  rig.waitMs(1);

  rig.machines.clearReportQueues();
  rig.machines.forgetMachineNumbers();
  EXPECT_TRUE(rig.machines.queue(kRedSide).hasForgetting()) << "chord capture is told to forget the chord";
  EXPECT_FALSE(rig.machines.hasReportedIn(kRedSide));
  rig.reportIn(kRedSide);
  EXPECT_TRUE(rig.machines.hasReportedIn(kRedSide));
}

// A consumer that notes when it steps, and asks to be stepped again 20 ms
// after each report.
class NotingConsumer final : public ReportConsumer {
 public:
  explicit NotingConsumer(const testing::VirtualRig& rig, KeyReportQueue& queue) : rig_(rig), queue_(queue) {}
  CaptureProgress captureStep(std::int64_t nowUs) override {
    std::lock_guard lock(mutex_);
    steps_.push_back(rig_.elapsedMs());
    queue_.takeForgetting();
    KeyReport report{};
    bool took = false;
    while (queue_.take(report)) took = true;
    if (took) dueUs_ = nowUs + 20 * kUsPerMs;
    if (nowUs >= dueUs_) dueUs_ = kNoDeadlineUs;
    return {.dueUs = dueUs_};
  }
  std::vector<std::int64_t> steps() {
    std::lock_guard lock(mutex_);
    return steps_;
  }

 private:
  const testing::VirtualRig& rig_;
  KeyReportQueue& queue_;
  std::mutex mutex_;
  std::vector<std::int64_t> steps_;
  std::int64_t dueUs_ = kNoDeadlineUs;
};

// A reader sleeps until a report is pushed and steps at once when it is, or
// when its consumer's deadline comes; it never polls. Stopping joins it.
TEST(ReaderThreads, StepOnlyWhenAReportComesOrTheConsumerIsDue) {
  ConnectionRig rig;
  rig.attach(0, kMachine1Number);
  rig.machines.initialise();
  NotingConsumer red(rig, rig.machines.queue(kRedSide));
  NotingConsumer blue(rig, rig.machines.queue(kBlueSide));
  const std::int64_t startMs = rig.elapsedMs();
  {
    ReaderThreads readers(rig.clock, rig.machines, {&red, &blue});
    rig.waitMs(1000);
    rig.library.sendKeys(0, rig.clock.nowMs(), keysOf(":I"));
    rig.waitMs(1000);
  }
  const std::vector<std::int64_t> expected = {startMs, startMs + 1000, startMs + 1020};
  EXPECT_EQ(red.steps(), expected);
  EXPECT_EQ(blue.steps(), std::vector<std::int64_t>{startMs});
  rig.waitMs(1000);
  EXPECT_EQ(red.steps(), expected) << "no step after the threads were joined";
}

}  // namespace
}  // namespace qiru
