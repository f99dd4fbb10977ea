// Stenotype machines over USB, through the libusb backend, against fake
// CH375 machines on a umockdev test bed: the device order, the link test,
// interrupt reports on their way to key events, plugging and unplugging
// (also in the middle of a match) and a machine the user may not open.
// Real threads on the real clock; run under umockdev-wrapper.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "device/libusb/libusb_ch375.h"
#include "device/link_test.h"
#include "device/report_log.h"
#include "device/report_recorder.h"
#include "device/virtual/virtual_machine.h"
#include "match/answer_key.h"
#include "input/key_event_recorder.h"
#include "input/keystroke_path.h"
#include "match/match_engine.h"
#include "match/match_machines.h"
#include "match/match_timer.h"
#include "match/online_labels.h"
#include "input/report_replay.h"
#include "materials/material_set.h"
#include "materials/question_bank.h"
#include "support/headless_messages.h"
#include "tests/device/chord_keys.h"
#include "tests/device/report_bytes.h"
#include "tests/device/usb/fake_ch375_usb.h"
#include "tests/support/without_file_powers.h"
#include "tests/input/letters_only_scheme.h"
#include "tests/materials/temp_folder.h"
#include "ui/control_model.h"

#if defined(__SANITIZE_THREAD__)
// udev, GLib and the test bed are not built for ThreadSanitizer: it sees
// how they synchronise (their locks go through the intercepted pthread
// calls) but not all of their inner bookkeeping, and reports some of it as
// races. Reports with a frame inside them are theirs; the program's own
// code stays checked.
extern "C" const char* __tsan_default_suppressions() {
  return "race:libudev.so.1\n"
         "race:libglib-2.0.so.0\n"
         "race:libgobject-2.0.so.0\n"
         "race:libumockdev.so.0\n"
         "race:libumockdev-preload.so.0\n";
}
#endif

namespace qiru {
namespace {

using testing::FakeCh375Usb;
using testing::FakeReply;
using testing::FakeUsbBus;
using testing::FakeUsbPlace;
using testing::keysOf;
using testing::reportBytes;
using testing::WithoutFilePowers;

constexpr std::int32_t kMachineNumber = 12345;
constexpr std::int32_t kSecondNumber = 180101;
// Generous: a loaded machine or ThreadSanitizer slows every hand-over.
constexpr auto kPatience = std::chrono::seconds(20);

bool eventually(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// A player at a fake machine: each chord is pressed, held and released,
// with a rest after it far longer than the merge window.
class Player {
 public:
  explicit Player(FakeCh375Usb& machine) : machine_(machine), reports_(kMachineNumber, kSecondNumber) {}

  void strike(const std::string& chord) {
    machine_.send(reports_.keyReport(keysOf(chord)));
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    machine_.send(reports_.keyReport({}));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  }

 private:
  FakeCh375Usb& machine_;
  VirtualMachine reports_;  // only for the reports it would send
};

class UsbMachines : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!FakeUsbBus::inMockEnvironment()) GTEST_SKIP() << "needs the umockdev test bed: run under umockdev-wrapper";
  }

  // The backend, once the machines present at start are plugged in.
  LibusbCh375& startBackend(std::vector<UsbId> extraIds = {}) {
    LibusbCh375Options options;
    options.ids = machineIdsWith(extraIds);
    options.udevRulePath = "/usr/lib/udev/rules.d/70-qiru-pk.rules";
    options.report = [this](const std::string& text) {
      {
        std::lock_guard lock(reportsMutex);
        reported.push_back(text);
      }
      if (whileReporting) whileReporting();
    };
    return usb.emplace(std::move(options));
  }

  // One machine plugged in and opened at device index 0, its interrupt
  // routine counting the reports in reportsReceived, its transfer running.
  FakeCh375Usb& openCountingMachine() {
    FakeCh375Usb& machine = bus.plugIn({.bus = 1, .port = 2, .address = 2});
    LibusbCh375& library = startBackend();
    EXPECT_NE(library.openDevice(0), kCh375InvalidHandle);
    EXPECT_NE(library.setIntRoutine(0, countReports()), 0);
    EXPECT_TRUE(machine.waitForInterruptTransfer(20'000));
    return machine;
  }
  Ch375InterruptRoutine countReports() {
    return [this](const std::uint8_t*) { ++reportsReceived; };
  }

  std::vector<std::string> reportedTexts() {
    std::lock_guard lock(reportsMutex);
    return reported;
  }

  FakeUsbBus bus;
  std::optional<LibusbCh375> usb;
  std::mutex reportsMutex;
  std::vector<std::string> reported;
  std::function<void()> whileReporting;  // runs inside each report, as a box would wait
  std::atomic<int> reportsReceived{0};
};

// Machines are taken by bus, then port; a device with other IDs is not a
// machine unless named; an open machine keeps its index.
TEST_F(UsbMachines, DeviceIndexesFollowBusAndPort) {
  FakeCh375Usb& onBus2 = bus.plugIn({.bus = 2, .port = 1, .address = 2});
  FakeCh375Usb& port3 = bus.plugIn({.bus = 1, .port = 3, .address = 3});
  FakeCh375Usb& port2 = bus.plugIn({.bus = 1, .port = 2, .address = 7, .id = {0x4348, 0x5537}});
  FakeCh375Usb& serial = bus.plugIn({.bus = 1, .port = 1, .address = 4, .id = {0x1A86, 0x7523}});
  LibusbCh375& library = startBackend();
  EXPECT_EQ(library.presentMachines(), 3) << "a CH340 serial adapter is not a machine";

  EXPECT_NE(library.openDevice(1), kCh375InvalidHandle);
  EXPECT_TRUE(port3.claimed()) << "index 1 is the second machine: bus 1, port 3";
  EXPECT_NE(library.openDevice(0), kCh375InvalidHandle);
  EXPECT_TRUE(port2.claimed());
  EXPECT_NE(library.openDevice(2), kCh375InvalidHandle);
  EXPECT_TRUE(onBus2.claimed());
  EXPECT_EQ(library.openDevice(3), kCh375InvalidHandle) << "only three machines";
  EXPECT_FALSE(serial.claimed());

  // Machine 1 goes; index 1 keeps its machine and index 0 waits for one.
  library.closeDevice(0);
  bus.unplug(port2);
  EXPECT_FALSE(port2.claimed());
  EXPECT_EQ(library.openDevice(0), kCh375InvalidHandle);
  EXPECT_TRUE(port3.claimed());
  library.closeDevice(1);
  library.closeDevice(2);
  EXPECT_FALSE(port3.claimed());
}

TEST_F(UsbMachines, ExtraIdsMakeMoreDevicesMachines) {
  FakeCh375Usb& own = bus.plugIn({.bus = 1, .port = 2, .address = 2, .id = {0x1234, 0x0042}});
  LibusbCh375& library = startBackend({{0x1234, 0x0042}});
  EXPECT_EQ(library.presentMachines(), 1);
  EXPECT_NE(library.openDevice(0), kCh375InvalidHandle);
  EXPECT_TRUE(own.claimed());
  EXPECT_EQ(linkTest(library, 0), LinkTestResult::Answers);
}

TEST_F(UsbMachines, LinkTestOverBulkTransfers) {
  const struct {
    FakeReply reply;
    LinkTestResult result;
  } cases[] = {
      {FakeReply::Answers, LinkTestResult::Answers},
      {FakeReply::SixBytes, LinkTestResult::WrongLength},
      {FakeReply::Silent, LinkTestResult::ReadFailed},
  };
  std::vector<FakeCh375Usb*> machines;
  std::uint8_t port = 1;
  for (const auto& c : cases)
    machines.push_back(&bus.plugIn({.bus = 1, .port = port, .address = port}, c.reply)), ++port;
  LibusbCh375& library = startBackend();
  for (int index = 0; index < static_cast<int>(std::size(cases)); ++index) {
    ASSERT_NE(library.openDevice(index), kCh375InvalidHandle);
    library.setTimeout(index, 300,
                       300);  // the silent machine's read gives up sooner
    EXPECT_EQ(linkTest(library, index), cases[index].result) << "machine " << index;
    EXPECT_EQ(machines[static_cast<std::size_t>(index)]->testFramesReceived(), 1);
  }
  // The silent machine's unanswered read was taken back: it answers now.
  machines[2]->setReply(FakeReply::Answers);
  EXPECT_EQ(linkTest(library, 2), LinkTestResult::Answers);
}

// A few garbled transfers (a flaky cable) do not silence the machine; a
// long run of them ends the transfers until the machine arrives again.
TEST_F(UsbMachines, InterruptTransfersSurviveAFewBusErrors) {
  FakeCh375Usb& machine = openCountingMachine();
  LibusbCh375& library = *usb;
  std::atomic<int>& reports = reportsReceived;

  machine.garbleInterrupts(kMaxFailedInterruptTransfers - 1);
  machine.send(reportBytes("07 FE FF FF FF 39 30 00"));
  ASSERT_TRUE(machine.waitUntilSent(20'000));
  ASSERT_TRUE(eventually([&] { return reports == 1; }));

  machine.garbleInterrupts(kMaxFailedInterruptTransfers);
  machine.send(reportBytes("07 FF FF FF FF 39 30 00"));
  EXPECT_FALSE(machine.waitUntilSent(4000)) << "the transfers should have ended";
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(library.setIntRoutine(0, [](const std::uint8_t*) {}), 0) << "lost until the machine is opened again";
  library.closeDevice(0);
  ASSERT_NE(library.openDevice(0), kCh375InvalidHandle);
  EXPECT_NE(library.setIntRoutine(0, countReports()), 0);
  ASSERT_TRUE(machine.waitUntilSent(20'000));
  EXPECT_TRUE(eventually([&] { return reports == 2; }));
  library.closeDevice(0);
}

// A stalled interrupt endpoint stays halted until the host clears it: the
// library clears the halt and the reports come again.
TEST_F(UsbMachines, AStalledInterruptEndpointIsClearedAndReportsGoOn) {
  FakeCh375Usb& machine = openCountingMachine();
  LibusbCh375& library = *usb;
  std::atomic<int>& reports = reportsReceived;
  machine.haltInterruptEndpoint();
  machine.send(reportBytes("07 FE FF FF FF 39 30 00"));
  ASSERT_TRUE(machine.waitUntilSent(20'000));
  EXPECT_TRUE(eventually([&] { return reports == 1; }));
  EXPECT_GE(machine.haltsCleared(), 1);
  library.closeDevice(0);
}

// Packets of any length: the routine reads a whole block, and its byte 0
// never claims more report bytes than arrived (the zeros behind a short
// packet would read as keys held down). The transfers go on after each.
TEST_F(UsbMachines, ShortAndEmptyInterruptPacketsClaimOnlyWhatArrived) {
  FakeCh375Usb& machine = bus.plugIn({.bus = 1, .port = 2, .address = 2});
  LibusbCh375& library = startBackend();
  ASSERT_NE(library.openDevice(0), kCh375InvalidHandle);
  std::mutex mutex;
  std::vector<InterruptData> blocks;
  ASSERT_NE(library.setIntRoutine(0,
                                  [&](const std::uint8_t* data) {
                                    InterruptData block;
                                    std::copy_n(data, block.size(), block.begin());
                                    std::lock_guard lock(mutex);
                                    blocks.push_back(block);
                                  }),
            0);
  ASSERT_TRUE(machine.waitForInterruptTransfer(20'000));
  const struct {
    std::vector<std::uint8_t> packet;
    std::string block;
  } cases[] = {
      {{}, "00 00 00 00 00 00 00 00"},
      {{0x07, 0xFE, 0xFF}, "02 FE FF 00 00 00 00 00"},
      {{0x05, 0xFE, 0xFF, 0xFF, 0xFF, 0x39}, "05 FE FF FF FF 39 00 00"},
      {{0x07, 0xFE, 0xFF, 0xFF, 0xFF, 0x39, 0x30, 0x00}, "07 FE FF FF FF 39 30 00"},
  };
  for (const auto& c : cases) machine.sendPacket(c.packet);
  ASSERT_TRUE(machine.waitUntilSent(20'000));
  ASSERT_TRUE(eventually([&] {
    std::lock_guard lock(mutex);
    return blocks.size() == std::size(cases);
  }));
  for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(blocks[i], reportBytes(cases[i].block)) << i;
  library.closeDevice(0);
}

// A USB reset kills the transfers in flight and drops the interface's
// claim, as the kernel does: the machine is claimed again and its reports
// keep coming.
TEST_F(UsbMachines, AResetWhileReportsAreComingKeepsThemComing) {
  FakeCh375Usb& machine = openCountingMachine();
  LibusbCh375& library = *usb;
  std::atomic<int>& reports = reportsReceived;
  EXPECT_NE(library.resetDevice(0), 0);
  EXPECT_EQ(machine.resets(), 1);
  EXPECT_TRUE(machine.claimed()) << "claimed again after the reset";
  machine.send(reportBytes("07 FE FF FF FF 39 30 00"));
  ASSERT_TRUE(machine.waitUntilSent(20'000)) << "no interrupt transfer after the reset";
  EXPECT_TRUE(eventually([&] { return reports == 1; }));
  library.closeDevice(0);
}

// The program's side: the machine connection, chord capture and the reader
// threads over the USB backend, the online labels in a window model.
struct ProgramSide {
  explicit ProgramSide(Ch375Library& library)
      : labels(model), path(library, realClock(), messages, labels, recorder, testing::lettersOnly) {}

  std::vector<std::string> chords() const {
    std::vector<std::string> chords;
    for (const KeyEvent& event : recorder.events()) chords.push_back(event.chord);
    return chords;
  }
  ui::Colour onlineBackground() const { return model.get(ui::Control::标签_一号机在线, &ui::ControlState::background); }
  std::string onlineCaption() const { return model.get(ui::Control::标签_一号机在线, &ui::ControlState::text); }

  ui::ControlModel model;
  OnlineLabels labels;
  HeadlessMessages messages{nullptr, answerUnattended, &realClock()};
  KeyEventRecorder recorder;
  KeystrokePath path;
};

TEST_F(UsbMachines, ChordsReachTheReaderThreadsAndPlugNoticesFollowTheCable) {
  LibusbCh375& library = startBackend();
  ProgramSide program(library);
  EXPECT_TRUE(program.messages.records().empty()) << "no machine at start, no message";

  FakeCh375Usb& machine = bus.plugIn({.bus = 1, .port = 2, .address = 2});
  ASSERT_TRUE(machine.waitForInterruptTransfer(20'000)) << "the arrival did not open the machine";
  EXPECT_EQ(machine.testFramesReceived(), 1);
  ASSERT_TRUE(eventually([&] { return program.onlineBackground() == kConnectedBackground; }));

  Player player(machine);
  const std::vector<std::string> struck = {"AB:FL", ":I", ":I", "RNO:", ":UO"};
  for (const std::string& chord : struck) player.strike(chord);
  ASSERT_TRUE(eventually([&] { return program.chords().size() == struck.size(); }));
  EXPECT_EQ(program.chords(), struck);
  EXPECT_EQ(program.path.machines().queue(kRedSide).machineNumber(), kMachineNumber);

  bus.unplug(machine);
  ASSERT_TRUE(eventually([&] { return program.onlineBackground() == kDisconnectedBackground; }));
  EXPECT_EQ(program.onlineCaption(), "红方");
  EXPECT_FALSE(program.path.machines().isOpen(kRedSide));

  bus.plugBack(machine);
  ASSERT_TRUE(machine.waitForInterruptTransfer(20'000)) << "the machine was not opened again";
  ASSERT_TRUE(eventually([&] { return program.onlineBackground() == kConnectedBackground; }));
  player.strike("OGB:GBDI");
  ASSERT_TRUE(eventually([&] { return program.chords().size() == struck.size() + 1; }));
  EXPECT_EQ(program.chords().back(), "OGB:GBDI");
  program.path.stop();
  EXPECT_TRUE(program.messages.records().empty());
}

TEST_F(UsbMachines, AMachineThatAnswersWithSixBytesIsReportedAfterThreeChecks) {
  FakeCh375Usb& machine = bus.plugIn({.bus = 1, .port = 2, .address = 2}, FakeReply::SixBytes);
  LibusbCh375& library = startBackend();
  ProgramSide program(library);  // opens the machine present at start
  EXPECT_EQ(machine.testFramesReceived(), 3);
  EXPECT_EQ(machine.resets(), 3) << "a USB reset after each failed round";
  const auto records = program.messages.records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].request.caption, " 信息提示 ");
  EXPECT_NE(records[0].request.text.find("1号机错误"), std::string::npos);
  EXPECT_NE(records[0].request.text.find("错误代码：2"), std::string::npos);
  program.path.stop();
}

// A machine whose interrupt transfers keep failing: once the library gives
// them up, the player is told by the status-error box and the online label
// shows the machine as not connected; plugged in again, it plays.
TEST_F(UsbMachines, GivenUpReportsAreToldAndTheLabelShowsTheMachineGone) {
  FakeCh375Usb& machine = bus.plugIn({.bus = 1, .port = 2, .address = 2});
  LibusbCh375& library = startBackend();
  ProgramSide program(library);
  ASSERT_TRUE(machine.waitForInterruptTransfer(20'000));
  ASSERT_TRUE(eventually([&] { return program.onlineBackground() == kConnectedBackground; }));

  machine.garbleInterrupts(1'000'000);
  ASSERT_TRUE(eventually([&] { return program.onlineBackground() == kDisconnectedBackground; }));
  const auto records = program.messages.records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].request.caption, "错误信息：");
  EXPECT_NE(records[0].request.text.find("1号机状态异常"), std::string::npos) << records[0].request.text;
  EXPECT_FALSE(program.path.machines().isOpen(kRedSide));

  machine.garbleInterrupts(0);
  bus.unplug(machine);
  bus.plugBack(machine);
  ASSERT_TRUE(eventually([&] { return program.onlineBackground() == kConnectedBackground; }));
  Player(machine).strike(":I");
  EXPECT_TRUE(eventually([&] { return program.chords().size() == 1; }));
  program.path.stop();
}

// A race to finish over five one-chord entries, played on the USB machines
// of a library: the match engine, its clock and the keystroke path.
struct MatchOverUsb {
  static constexpr std::string_view kMaterial = "one\tA:\r\ntwo\tH:\r\nthree\tN:\r\nfour\tV:\r\nfive\tF:\r\n";

  explicit MatchOverUsb(Ch375Library& library)
      : path(library, realClock(), messages, labels, engine, testing::lettersOnly), connected(path.machines()) {
    model.setComboItems(ui::Control::组合框_素材, {{"material", bank.add(folder.write("m.txt", kMaterial), "material")}});
    model.setCurrentItem(ui::Control::组合框_素材, 0);
    model.setCurrentPage(ui::Control::选择夹_模式, static_cast<int>(MatchMode::RaceToFinish));
    model.setText(ui::Control::编辑框_争先, "5");
    installMatchHandlers(model, engine);
    engine.attachMachines(connected);
  }
  // The readers first, then the round's worker: both call into what goes.
  ~MatchOverUsb() {
    path.stop();
    engine.stop();
  }

  void answerShownEntry(std::int32_t side, Player& player) {
    for (const std::string& chord : answers.chordsOf(engine.shownEntry(side).text)) player.strike(chord);
  }
  ui::Colour background(std::int32_t side) const {
    return model.get(side == kRedSide ? ui::Control::标签_一号机在线 : ui::Control::标签_二号机在线,
                     &ui::ControlState::background);
  }

  TempFolder folder;
  ui::ControlModel model;
  HeadlessMessages messages{nullptr, answerUnattended, &realClock()};
  MaterialSet materials{&messages};
  QuestionBank bank{folder.path()};
  MatchEngine engine{model, realClock(), messages, materials, bank};
  MatchTimer timer{realClock(), model};
  const AnswerKey answers{kMaterial};
  OnlineLabels labels{model};
  KeystrokePath path;
  ConnectedMachines connected;
};

// A match in progress while machine 1's cable is pulled and put back: the
// labels follow, nothing waits for the vanished machine, and the player's
// chords count again once it is back.
TEST_F(UsbMachines, UnplugAndReplugInTheMiddleOfAMatch) {
  FakeCh375Usb& machine = bus.plugIn({.bus = 1, .port = 2, .address = 2});
  LibusbCh375& library = startBackend();
  MatchOverUsb match(library);
  Player player(machine);

  player.strike(":I");  // reports in; machine 2 will be simulated
  player.strike(":I");  // starts: the countdown, then the round
  ASSERT_TRUE(eventually([&] { return match.engine.state() == MatchState::Running; }));
  match.answerShownEntry(kRedSide, player);
  ASSERT_TRUE(eventually([&] { return match.engine.side(kRedSide).roundScore == 1; }));

  bus.unplug(machine);
  ASSERT_TRUE(eventually([&] { return match.background(kRedSide) == kDisconnectedBackground; }));
  EXPECT_EQ(match.model.get(ui::Control::标签_一号机在线, &ui::ControlState::text), "红方");
  EXPECT_EQ(match.engine.state(), MatchState::Running) << "the round goes on without the machine";

  bus.plugBack(machine);
  ASSERT_TRUE(eventually([&] { return match.background(kRedSide) == kConnectedBackground; }));
  ASSERT_TRUE(machine.waitForInterruptTransfer(20'000));
  match.answerShownEntry(kRedSide, player);
  ASSERT_TRUE(eventually([&] { return match.engine.side(kRedSide).roundScore == 2; }));
}

// Both machines leave in the middle of a match and come back, through the
// plug notices alone: each keeps its side (bus and port order), both labels
// follow, and both players score again.
TEST_F(UsbMachines, BothMachinesLeaveAndComeBackInTheMiddleOfAMatch) {
  FakeCh375Usb& red = bus.plugIn({.bus = 1, .port = 2, .address = 2});
  FakeCh375Usb& blue = bus.plugIn({.bus = 1, .port = 3, .address = 3});
  LibusbCh375& library = startBackend();
  MatchOverUsb match(library);
  Player redPlayer(red);
  Player bluePlayer(blue);
  ASSERT_TRUE(eventually([&] {
    return match.background(kRedSide) == kConnectedBackground && match.background(kBlueSide) == kConnectedBackground;
  }));

  redPlayer.strike("A:");   // reports in
  bluePlayer.strike("A:");  // reports in
  redPlayer.strike(":I");   // starts
  ASSERT_TRUE(eventually([&] { return match.engine.state() == MatchState::Running; }));
  EXPECT_FALSE(match.connected.machine2Simulated());
  match.answerShownEntry(kRedSide, redPlayer);
  match.answerShownEntry(kBlueSide, bluePlayer);
  ASSERT_TRUE(eventually([&] { return match.engine.side(kBlueSide).roundScore == 1; }));
  ASSERT_EQ(match.engine.side(kRedSide).roundScore, 1);

  bus.unplug(blue);
  bus.unplug(red);
  ASSERT_TRUE(eventually([&] {
    return match.background(kRedSide) == kDisconnectedBackground &&
           match.background(kBlueSide) == kDisconnectedBackground;
  }));
  EXPECT_EQ(match.engine.state(), MatchState::Running);

  bus.plugBack(red);
  bus.plugBack(blue);
  ASSERT_TRUE(eventually([&] {
    return match.background(kRedSide) == kConnectedBackground && match.background(kBlueSide) == kConnectedBackground;
  }));
  ASSERT_TRUE(red.waitForInterruptTransfer(20'000));
  ASSERT_TRUE(blue.waitForInterruptTransfer(20'000));
  match.answerShownEntry(kBlueSide, bluePlayer);
  match.answerShownEntry(kRedSide, redPlayer);
  EXPECT_TRUE(eventually([&] {
    return match.engine.side(kRedSide).roundScore == 2 && match.engine.side(kBlueSide).roundScore == 2;
  })) << match.engine.side(kRedSide).roundScore << ":" << match.engine.side(kBlueSide).roundScore;
  EXPECT_TRUE(match.messages.records().empty());
}

// A recording of machine 1 on a thread of its own, as qiru-steno record
// makes it: until stopped, or for a minute at most.
class Recording {
 public:
  explicit Recording(Ch375Library& library)
      : thread_([this, &library] {
          RecordRequest request;
          request.stop = &stop_;
          request.durationMs = 60'000;  // a safety net: every test ends it long before
          request.onRecording = [this] { started_ = true; };
          outcome_ = recordReports(library, realClock(), request, log_);
          ended_ = true;
        }) {}
  ~Recording() { finish(); }

  bool started() const { return started_; }
  bool ended() const { return ended_; }
  // Ends the recording (if it still runs) and waits for it.
  void finish() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  // After finish().
  const RecordOutcome& outcome() const { return outcome_; }
  std::string log() const { return log_.str(); }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<bool> started_{false};
  std::atomic<bool> ended_{false};
  std::ostringstream log_;
  RecordOutcome outcome_;
  std::thread thread_;  // last: starts once everything above exists
};

// What a machine sends, recorded over USB into a report log, replays to
// the very chords that were struck.
TEST_F(UsbMachines, ARecordedLogReplaysToTheChordsStruck) {
  FakeCh375Usb& machine = bus.plugIn({.bus = 1, .port = 2, .address = 2});
  LibusbCh375& library = startBackend();
  Recording recording(library);
  ASSERT_TRUE(eventually([&] { return recording.started(); }));
  Player player(machine);
  const std::vector<std::string> struck = {"AB:FL", ":I", ":I", "RNO:", "OGB:GBDI"};
  for (const std::string& chord : struck) player.strike(chord);
  ASSERT_TRUE(machine.waitUntilSent(20'000));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  recording.finish();

  const RecordOutcome& outcome = recording.outcome();
  EXPECT_TRUE(outcome.opened);
  EXPECT_EQ(outcome.link, LinkTestResult::Answers);
  EXPECT_EQ(outcome.recorded, 2 * struck.size());
  const ReportLog read = parseReportLog(recording.log());
  ASSERT_TRUE(read.ok()) << read.error << "\n" << recording.log();
  std::vector<std::string> replayed;
  for (const KeyEvent& event : replayReportLog(read.reports)) replayed.push_back(event.chord);
  EXPECT_EQ(replayed, struck);
  EXPECT_FALSE(machine.claimed()) << "the recorder lets go of the machine";
}

// Pulling the cable ends a recording; what came before is a valid log.
TEST_F(UsbMachines, UnpluggingTheMachineEndsARecording) {
  FakeCh375Usb& machine = bus.plugIn({.bus = 1, .port = 2, .address = 2});
  LibusbCh375& library = startBackend();
  Recording recording(library);
  ASSERT_TRUE(eventually([&] { return recording.started(); }));
  Player(machine).strike(":I");
  ASSERT_TRUE(machine.waitUntilSent(20'000));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  bus.unplug(machine);
  const bool endedByUnplug = eventually([&] { return recording.ended(); });
  recording.finish();
  EXPECT_TRUE(endedByUnplug);
  EXPECT_TRUE(recording.outcome().unplugged);
  EXPECT_EQ(recording.outcome().recorded, 2u);
  const ReportLog read = parseReportLog(recording.log());
  ASSERT_TRUE(read.ok()) << read.error;
  EXPECT_EQ(read.reports.size(), 2u);
}

TEST_F(UsbMachines, AMachineTheUserMayNotOpenIsExplainedOnce) {
  FakeCh375Usb& machine = bus.plugIn({.bus = 1, .port = 4, .address = 9});
  LibusbCh375& library = startBackend();
  bus.forbid(machine);
  // A report may wait for a person (a message box); meanwhile the machine's
  // device index must stay usable from other threads.
  bool othersWaited = false;
  std::thread other;
  whileReporting = [&] {
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    other = std::thread([&library, done = std::move(done)]() mutable {
      library.setTimeout(0, 3000, 3000);
      done.set_value();
    });
    othersWaited = finished.wait_for(std::chrono::seconds(5)) != std::future_status::ready;
  };
  {
    const WithoutFilePowers asDesktopUser;
    EXPECT_EQ(library.openDevice(0), kCh375InvalidHandle);
    EXPECT_EQ(library.openDevice(0), kCh375InvalidHandle);
  }
  if (other.joinable()) other.join();
  const std::vector<std::string> texts = reportedTexts();
  ASSERT_EQ(texts.size(), 1u) << "told once, not at every attempt";
  EXPECT_NE(texts[0].find("/usr/lib/udev/rules.d/70-qiru-pk.rules"), std::string::npos) << texts[0];
  EXPECT_NE(texts[0].find("1-4"), std::string::npos) << "names the port: " << texts[0];
  EXPECT_FALSE(machine.claimed());
  EXPECT_FALSE(othersWaited) << "the report was made holding the device index's lock";
}

}  // namespace
}  // namespace qiru
