// Recording a machine's reports into a report log: every block the machine
// sends, at the time it arrived, read back by the replay as the chords that
// were struck. Against virtual machines, in virtual time and on the real
// clock.

#include "device/report_recorder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "device/interrupt_tap.h"
#include "device/report_log.h"
#include "device/virtual/chord_player.h"
#include "input/report_replay.h"
#include "support/clock_thread.h"
#include "tests/device/chord_keys.h"
#include "tests/device/report_bytes.h"
#include "tests/device/virtual_rig.h"

namespace qiru {
namespace {

using testing::keysOf;
using testing::kMachine1Number;
using testing::reportBytes;
using testing::VirtualRig;

const std::vector<std::string> kChords = {"AB:FL", ":I", ":I", "RNO:", ":UO", "OGB:GBDI"};
constexpr std::int64_t kChordPaceMs = 170;

std::vector<PressedKeys> keysOfAll(const std::vector<std::string>& chords) {
  std::vector<PressedKeys> keys;
  for (const std::string& chord : chords) keys.push_back(keysOf(chord));
  return keys;
}

std::vector<std::string> chordsOf(const std::vector<KeyEvent>& events) {
  std::vector<std::string> chords;
  for (const KeyEvent& event : events) chords.push_back(event.chord);
  return chords;
}

// What the machine sent, as the program's interrupt routine would see it.
struct SentBlocks {
  explicit SentBlocks(Ch375Library& library, Clock& clock)
      : tap(library, [this, &clock](int, const std::uint8_t* data) {
          sent.push_back({clock.nowMs(), {data, data + kInterruptDataBytes}});
        }) {}
  std::vector<LoggedReport> sent;
  InterruptTap tap;
};

ReportLog parsed(const std::ostringstream& out) {
  ReportLog log = parseReportLog(out.str());
  EXPECT_TRUE(log.ok()) << log.error << "\n" << out.str();
  return log;
}

// The chords struck on a machine of either report length come back from
// the replay of the log, and the log holds exactly the blocks sent.
TEST(ReportRecorder, LogReplaysToTheChordsStruck) {
  for (const int length : {kLongReportLength, kShortReportLength}) {
    SCOPED_TRACE("report length " + std::to_string(length));
    ReportLog log;
    {
      VirtualRig rig;
      rig.plugIn(0, kMachine1Number, length);
      SentBlocks machine(rig.library, rig.clock);
      const std::int64_t lastKeyUpMs =
          ChordPlayer(rig.library, 0).playSequence(rig.atMs(300), keysOfAll(kChords), kChordPaceMs);
      const std::int64_t durationMs = lastKeyUpMs + 200 - rig.clock.nowMs();

      std::ostringstream out;
      bool toldRecording = false;
      const RecordOutcome outcome = recordReports(
          machine.tap, rig.clock, {.durationMs = durationMs, .onRecording = [&] { toldRecording = true; }}, out);

      EXPECT_TRUE(outcome.opened && outcome.listened && toldRecording);
      EXPECT_EQ(outcome.link, LinkTestResult::Answers);
      EXPECT_EQ(outcome.dropped, 0u);
      EXPECT_FALSE(outcome.writeFailed);
      EXPECT_GE(rig.elapsedMs(), durationMs);
      EXPECT_LT(rig.elapsedMs(), durationMs + kRecorderPollMs);
      EXPECT_TRUE(out.str().starts_with("# machine 1 (device index 0), recorded from 2023-11-14 22:13:20 UTC\n"
                                        "# link test: the machine answers\n# time (ms),"))
          << out.str();
      log = parsed(out);
      EXPECT_EQ(log.reports, machine.sent);
      EXPECT_EQ(outcome.recorded, log.reports.size());
    }
    // The replay runs a simulation of its own: after the rig's has ended.
    EXPECT_EQ(chordsOf(replayReportLog(log.reports)), kChords);
  }
}

// Blocks too short to carry keys are what a diagnosis looks for: they are
// logged as they came, whole, in order.
TEST(ReportRecorder, ShortAndOddBlocksAreLoggedWhole) {
  const std::vector<std::pair<std::int64_t, std::string>> blocks = {
      {100, "03 00 00 00 00 00 00 00"}, {100, "00 00 00 00 00 00 00 00"},
      {140, "01 AA 55 00 00 39 30 00"}, {180, "05 FF FF EF FF 39 30 00"},
      {181, "09 FF FF FF FF 85 BF 82"},
  };
  VirtualRig rig;
  rig.plugIn(0, kMachine1Number);
  for (const auto& [atMs, hex] : blocks) rig.library.sendData(0, rig.atMs(atMs), reportBytes(hex));
  std::ostringstream out;
  const RecordOutcome outcome = recordReports(rig.library, rig.clock, {.durationMs = 300}, out);

  std::vector<LoggedReport> expected;
  for (const auto& [atMs, hex] : blocks) {
    const InterruptData data = reportBytes(hex);
    expected.push_back({rig.atMs(atMs), {data.begin(), data.end()}});
  }
  EXPECT_EQ(parsed(out).reports, expected);
  EXPECT_EQ(outcome.recorded, blocks.size());
}

// Without a duration the stop flag ends the recording; reports after it are
// not logged, and the recorder's routine is gone once it has returned.
TEST(ReportRecorder, StopFlagEndsTheRecording) {
  ReportLog log;
  {
    VirtualRig rig;
    rig.plugIn(0, kMachine1Number);
    SentBlocks machine(rig.library, rig.clock);
    ChordPlayer player(rig.library, 0);
    player.play(rig.atMs(200), keysOf(":I"));
    player.play(rig.atMs(1500), keysOf("AB:FL"));
    std::atomic<bool> stop{false};
    ClockThread stopper(rig.clock, [&] {
      rig.clock.sleepFor(1000);
      stop = true;
    });

    std::ostringstream out;
    const RecordOutcome outcome = recordReports(machine.tap, rig.clock, {.stop = &stop}, out);
    EXPECT_GE(rig.elapsedMs(), 1000);
    EXPECT_LE(rig.elapsedMs(), 1000 + kRecorderPollMs);
    EXPECT_EQ(outcome.recorded, 2u);
    log = parsed(out);

    rig.waitMs(1000);
    EXPECT_EQ(machine.sent.size(), 2u) << "the later chord reached a routine after the recording";
  }
  EXPECT_EQ(chordsOf(replayReportLog(log.reports)), std::vector<std::string>{":I"});
}

// A writer that falls behind by more than the ring holds loses the newest
// reports and says how many.
TEST(ReportRecorder, FullRingDropsTheNewestAndCountsThem) {
  VirtualRig rig;
  rig.plugIn(0, kMachine1Number);
  std::vector<InterruptData> burst;
  for (std::uint8_t i = 0; i < 10; ++i) burst.push_back({0x07, i, 0xFF, 0xFF, 0xFF, 0x39, 0x30, 0x00});
  for (const InterruptData& data : burst) rig.library.sendData(0, rig.atMs(5), data);

  std::ostringstream out;
  const RecordOutcome outcome = recordReports(rig.library, rig.clock, {.durationMs = 100, .ringCapacity = 4}, out);
  EXPECT_EQ(outcome.recorded, 4u);
  EXPECT_EQ(outcome.dropped, 6u);
  const ReportLog log = parsed(out);
  ASSERT_EQ(log.reports.size(), 4u);
  for (std::size_t i = 0; i < log.reports.size(); ++i) EXPECT_EQ(interruptDataOf(log.reports[i]), burst[i]);
}

TEST(ReportRecorder, MachineThatCannotBeReachedEndsAtOnce) {
  VirtualRig rig;
  std::ostringstream out;
  const RecordOutcome missing = recordReports(rig.library, rig.clock, {.deviceIndex = 1, .durationMs = 5000}, out);
  EXPECT_FALSE(missing.opened);
  EXPECT_EQ(out.str(), "") << "no log for a machine that is not there";
  EXPECT_EQ(rig.elapsedMs(), 0);

  rig.plugIn(1, kMachine1Number)->refuseInterruptRoutine(true);
  const RecordOutcome deaf = recordReports(rig.library, rig.clock, {.deviceIndex = 1, .durationMs = 5000}, out);
  EXPECT_TRUE(deaf.opened);
  EXPECT_FALSE(deaf.listened);
  EXPECT_LT(rig.elapsedMs(), 5000);
  EXPECT_EQ(parsed(out).reports.size(), 0u);
}

// A stream that takes `room` characters, then fails, as a full disk does.
class FillingBuffer : public std::streambuf {
 public:
  explicit FillingBuffer(std::size_t room) : room_(room) {}

 protected:
  int_type overflow(int_type c) override {
    if (room_ == 0) return traits_type::eof();
    --room_;
    return c;
  }

 private:
  std::size_t room_;
};

// A log that can no longer be written ends the recording, rather than
// recording on into nowhere until someone presses Ctrl-C.
TEST(ReportRecorder, WriteFailureEndsTheRecording) {
  VirtualRig rig;
  rig.plugIn(0, kMachine1Number);
  ChordPlayer player(rig.library, 0);
  player.play(rig.atMs(100), keysOf("AB:FL"));
  FillingBuffer buffer(300);
  std::ostream out(&buffer);
  const RecordOutcome outcome = recordReports(rig.library, rig.clock, {.durationMs = 60'000}, out);
  EXPECT_TRUE(outcome.writeFailed);
  EXPECT_LT(rig.elapsedMs(), 1000);
}

// On the real clock the interrupt routine and the writer run at once.
TEST(ReportRecorder, RealClock) {
  VirtualCh375 library(realClock());
  library.attach(0, std::make_shared<VirtualMachine>(kMachine1Number, testing::kSecondNumber));
  // Chords far apart, so that a loaded machine cannot bunch them into one.
  const PlayingStyle style{.keyDownGapMs = 3, .holdMs = 60, .keyUpGapMs = 3};
  const std::int64_t lastKeyUpMs =
      ChordPlayer(library, 0, style).playSequence(realClock().nowMs() + 100, keysOfAll(kChords), 400);
  std::ostringstream out;
  const RecordOutcome outcome =
      recordReports(library, realClock(), {.durationMs = lastKeyUpMs + 300 - realClock().nowMs()}, out);
  library.shutdown();
  EXPECT_EQ(outcome.dropped, 0u);
  EXPECT_EQ(chordsOf(replayReportLog(parsed(out).reports)), kChords);
}

}  // namespace
}  // namespace qiru
