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

  std::vector<std::string> reportedTexts() {
    std::lock_guard lock(reportsMutex);
    return reported;
  }

  FakeUsbBus bus;
  std::optional<LibusbCh375> usb;
  std::mutex reportsMutex;
  std::vector<std::string> reported;
  std::function<void()> whileReporting;  // runs inside each report, as a box would wait
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
  FakeCh375Usb& machine = bus.plugIn({.bus = 1, .port = 2, .address = 2});
  LibusbCh375& library = startBackend();
  ASSERT_NE(library.openDevice(0), kCh375InvalidHandle);
  std::atomic<int> reports{0};
  ASSERT_NE(library.setIntRoutine(0, [&reports](const std::uint8_t*) { ++reports; }), 0);
  ASSERT_TRUE(machine.waitForInterruptTransfer(20'000));

  machine.garbleInterrupts(3);
  machine.send(reportBytes("07 FE FF FF FF 39 30 00"));
  ASSERT_TRUE(machine.waitUntilSent(20'000));
  ASSERT_TRUE(eventually([&] { return reports == 1; }));

  machine.garbleInterrupts(kMaxFailedInterruptTransfers);
  machine.send(reportBytes("07 FF FF FF FF 39 30 00"));
  EXPECT_FALSE(machine.waitUntilSent(500)) << "the transfers should have ended";
  EXPECT_EQ(reports, 1);
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

// A match in progress while machine 1's cable is pulled and put back: the
// labels follow, nothing waits for the vanished machine, and the player's
// chords count again once it is back.
TEST_F(UsbMachines, UnplugAndReplugInTheMiddleOfAMatch) {
  constexpr std::string_view kMaterial = "one\tA:\r\ntwo\tH:\r\nthree\tN:\r\nfour\tV:\r\nfive\tF:\r\n";
  TempFolder folder;
  ui::ControlModel model;
  HeadlessMessages messages{nullptr, answerUnattended, &realClock()};
  MaterialSet materials{&messages};
  QuestionBank bank{folder.path()};
  model.setComboItems(ui::Control::组合框_素材, {{"material", bank.add(folder.write("m.txt", kMaterial), "material")}});
  model.setCurrentItem(ui::Control::组合框_素材, 0);
  model.setCurrentPage(ui::Control::选择夹_模式, static_cast<int>(MatchMode::RaceToFinish));
  model.setText(ui::Control::编辑框_争先, "5");
  MatchEngine engine{model, realClock(), messages, materials, bank};
  MatchTimer timer{realClock(), model};
  installMatchHandlers(model, engine);
  const AnswerKey answers(kMaterial);

  FakeCh375Usb& machine = bus.plugIn({.bus = 1, .port = 2, .address = 2});
  LibusbCh375& library = startBackend();
  OnlineLabels labels(model);
  KeystrokePath path(library, realClock(), messages, labels, engine, testing::lettersOnly);
  ConnectedMachines connected(path.machines());
  engine.attachMachines(connected);
  Player player(machine);

  player.strike(":I");  // reports in; machine 2 will be simulated
  player.strike(":I");  // starts: the countdown, then the round
  ASSERT_TRUE(eventually([&] { return engine.state() == MatchState::Running; }));
  const auto answerShownEntry = [&] {
    const MatchEngine::ShownEntry shown = engine.shownEntry(kRedSide);
    for (const std::string& chord : answers.chordsOf(shown.text)) player.strike(chord);
  };
  answerShownEntry();
  ASSERT_TRUE(eventually([&] { return engine.side(kRedSide).roundScore == 1; }));

  bus.unplug(machine);
  const auto background = [&] { return model.get(ui::Control::标签_一号机在线, &ui::ControlState::background); };
  ASSERT_TRUE(eventually([&] { return background() == kDisconnectedBackground; }));
  EXPECT_EQ(model.get(ui::Control::标签_一号机在线, &ui::ControlState::text), "红方");
  EXPECT_EQ(engine.state(), MatchState::Running) << "the round goes on without the machine";

  bus.plugBack(machine);
  ASSERT_TRUE(eventually([&] { return background() == kConnectedBackground; }));
  ASSERT_TRUE(machine.waitForInterruptTransfer(20'000));
  answerShownEntry();
  ASSERT_TRUE(eventually([&] { return engine.side(kRedSide).roundScore == 2; }));
  path.stop();
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
