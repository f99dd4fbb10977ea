// The whole way of a chord on real threads: virtual machines, the library's
// threads, the interrupt routine, the report queue, the reader threads and
// chord capture, up to the key-event sink. In virtual time (and so the same
// every run) and on the real clock, two machines at once.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <utility>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "device/interrupt_tap.h"
#include "device/virtual/chord_player.h"
#include "device/virtual/virtual_ch375.h"
#include "input/chord_capture.h"
#include "input/key_event_recorder.h"
#include "input/keystroke_path.h"
#include "input/report_replay.h"
#include "support/clock_thread.h"
#include "support/headless_messages.h"
#include "support/virtual_clock.h"
#include "tests/device/chord_keys.h"
#include "tests/input/letters_only_scheme.h"

namespace qiru {
namespace {

using testing::keysOf;
using testing::lettersOnly;

// The program's side of the machine link, recording its key events.
struct Program {
  Program(Clock& clock, Ch375Library& library)
      : messages(nullptr, answerUnattended, &clock), path(library, clock, messages, labels, recorder, lettersOnly) {}

  std::vector<std::string> chordsOf(int side) const {
    std::vector<std::string> chords;
    for (const KeyEvent& event : recorder.events()) {
      if (event.side == side) chords.push_back(event.chord);
    }
    return chords;
  }

  KeyEventRecorder recorder;
  NoMachineLabels labels;
  HeadlessMessages messages;
  KeystrokePath path;
};

std::vector<PressedKeys> keysOfAll(const std::vector<std::string>& chords) {
  std::vector<PressedKeys> keys;
  for (const std::string& chord : chords) keys.push_back(keysOf(chord));
  return keys;
}

const std::vector<std::string> kRedChords = {"AB:FL", ":I", ":I", "RNO:", ":UO", "OGB:GBDI", "HN:HN", ":I"};
const std::vector<std::string> kBlueChords = {"FL:", "AB:AB", ":HA", "B:I", "B:I", "RH:", ":RHAI"};

// Machine 1 played live in virtual time, each report logged as it arrived;
// the log replayed gives the same key events, every time.
TEST(ReportReplay, ReplayOfALogGivesTheKeyEventsPlayedLive) {
  VirtualClock clock(1'700'000'000'000);
  std::vector<LoggedReport> log;
  std::vector<KeyEvent> live;
  {
    ClockParticipation driver(clock);
    VirtualCh375 machines(clock);
    InterruptTap tap(machines, [&log, &clock](int deviceIndex, const std::uint8_t* data) {
      if (deviceIndex == 0) log.push_back({clock.nowMs(), {data, data + kInterruptDataBytes}});
    });
    machines.attach(0, std::make_shared<VirtualMachine>(12345, 180101));
    Program program(clock, tap);
    const std::int64_t endMs =
        ChordPlayer(machines, 0).playSequence(clock.nowMs() + 500, keysOfAll(kRedChords), 170);
    clock.sleepFor(endMs + 1000 - clock.nowMs());
    program.path.stop();
    machines.shutdown();
    live = program.recorder.events();
  }
  ASSERT_EQ(live.size(), kRedChords.size());

  const ReportLog written = parseReportLog(formatReportLog(log));
  ASSERT_TRUE(written.ok()) << written.error;
  EXPECT_EQ(replayReportLog(written.reports), live);
  EXPECT_EQ(replayReportLog(written.reports), live);
}

TEST(ReportReplay, HandWrittenLog) {
  const ReportLog log = parseReportLog(
      "# BA:FL struck at once, then :I twice, with a short report between\n"
      "1000 07 7F 7F FF 9F 39 30 00\n"
      "1080 07 FF FF FF FF 85 BF 82\n"
      "1300 07 EF FF FF FF 39 30 00\n"
      "1360 07 FF FF FF FF 39 30 00\n"
      "1500 03\n"
      "1600 07 EF FF FF FF 39 30 00\n"
      "1660 07 FF FF FF FF 39 30 00\n");
  ASSERT_TRUE(log.ok()) << log.error;
  // Stamped with the arrival of each chord's first key-down and release.
  const std::vector<KeyEvent> expected = {{1, "AB:FL", "AB:FL", 1'000'000, 1'080'000},
                                          {1, ":I", ":I", 1'300'000, 1'360'000},
                                          {1, ":I", ":I", 1'600'000, 1'660'000}};
  EXPECT_EQ(replayReportLog(log.reports), expected);
}

// A log of more than a day would take minutes of polling in virtual time:
// most likely some of its times are in seconds or from another log.
TEST(ReportReplay, LogsSpanningMoreThanADayAreNotReplayed) {
  const std::vector<LoggedReport> day = {{1000, {0x07, 0xEF, 0xFF, 0xFF, 0xFF, 0x39, 0x30, 0x00}},
                                         {1000 + kMaxReplaySpanMs, {0x07, 0xFF, 0xFF, 0xFF, 0xFF}}};
  EXPECT_TRUE(isReplayable(day));
  std::vector<LoggedReport> longer = day;
  longer.back().timeMs += 1;
  EXPECT_FALSE(isReplayable(longer));
  EXPECT_TRUE(replayReportLog(longer).empty());
}

// Two machines played at once on the real clock: every chord of each
// reaches the sink, in order, on its own side; stopping joins the readers.
TEST(MachineLinkThreads, TwoMachinesOnTheRealClock) {
  VirtualCh375 machines(realClock());
  machines.attach(0, std::make_shared<VirtualMachine>(12345, 180101));
  machines.attach(1, std::make_shared<VirtualMachine>(23456, 180101, kShortReportLength));
  Program program(realClock(), machines);

  // Chords 400 ms apart leave rests far longer than the merge window even
  // when a loaded machine (or ThreadSanitizer) delays the library thread and
  // bunches its reports; a repeated chord must still come out twice.
  const PlayingStyle style{.keyDownGapMs = 3, .holdMs = 60, .keyUpGapMs = 3};
  const std::int64_t startMs = realClock().nowMs() + 100;
  constexpr std::int64_t kChordPaceMs = 400;
  ChordPlayer(machines, 0, style).playSequence(startMs, keysOfAll(kRedChords), kChordPaceMs);
  ChordPlayer(machines, 1, style).playSequence(startMs + 7, keysOfAll(kBlueChords), kChordPaceMs);

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (program.recorder.events().size() < kRedChords.size() + kBlueChords.size() &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  program.path.stop();
  machines.shutdown();
  EXPECT_EQ(program.chordsOf(kRedSide), kRedChords);
  EXPECT_EQ(program.chordsOf(kBlueSide), kBlueChords);
  EXPECT_EQ(program.path.machines().machineNumber(kRedSide), 0) << "nobody refreshed the labels";
  EXPECT_EQ(program.path.machines().queue(kRedSide).machineNumber(), 12345);
  EXPECT_EQ(program.path.machines().queue(kBlueSide).machineNumber(), 23456);
}

// The interrupt routine pushes while the reader takes: a report pushed
// between the reader's look at the queue and its taking is never lost, so
// every chord comes out. Run under ThreadSanitizer as well.
TEST(MachineLinkThreads, NoReportIsLostBetweenLookingAndTaking) {
  constexpr int kChords = 5000;
  constexpr std::int64_t kChordApartUs = 100'000;
  KeyReportQueue queue;
  struct CountingSink final : KeyEventSink {
    void onKeyEvent(const KeyEvent&) override { ++events; }
    std::atomic<int> events{0};
  } sink;
  ChordCapture capture(kRedSide, queue, sink, lettersOnly);
  std::atomic<bool> pushedAll{false};

  std::thread reader([&] {
    while (!pushedAll.load() || !queue.isEmpty()) capture.captureStep(0);
  });
  InterruptData down{kLongReportLength};
  placeKeyBytes(kLongReportLength, keyBytesFor(keysOf(":I")), down.data());
  placeSelfReport(12345, down.data());
  InterruptData up{kLongReportLength};
  placeKeyBytes(kLongReportLength, keyBytesFor({}), up.data());
  placeSelfReport(12345, up.data());
  for (int i = 0; i < kChords; ++i) {
    for (const auto& [data, atUs] : {std::pair{&down, i * kChordApartUs}, std::pair{&up, i * kChordApartUs + 1000}}) {
      while (queue.isFull()) std::this_thread::yield();
      queue.push(data->data(), atUs);
    }
  }
  pushedAll = true;
  reader.join();
  EXPECT_EQ(sink.events.load(), kChords);
  EXPECT_EQ(queue.droppedCount(), 0u);
}

}  // namespace
}  // namespace qiru
