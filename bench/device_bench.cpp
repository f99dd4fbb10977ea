// Speed figures of the machine link: one interrupt push on the library's
// thread, the processing of one chord on a reader thread (capture, decode,
// hand-on), and, on real threads and the real clock, how long a player
// waits from the report that lets a chord go to its key event.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "device/interrupt_tap.h"
#include "device/machine_connection.h"
#include "device/virtual/chord_player.h"
#include "device/virtual/virtual_ch375.h"
#include "input/chord_capture.h"
#include "input/keystroke_path.h"
#include "steno/builtin_scheme.h"
#include "support/headless_messages.h"

namespace qiru {
namespace {

// Chords of one to seven keys, as players strike them.
std::vector<PressedKeys> chordMix() {
  const ChordCodec codec;
  std::vector<PressedKeys> mix;
  for (const std::string_view chord : {"BA:FL", ":I", "OGB:GBDI", "RNO:", ":UO", "FL:", "AB:AB", ":HA", "B:I", "HN:HN"}) {
    const TwoAreaCode code = codec.twoAreaCodeOf(chord);
    mix.push_back({.right = rightKeySetOf(code), .left = leftKeySetOf(code)});
  }
  return mix;
}

// Chords decode with the built-in scheme, as in the program.
void publishBuiltinScheme() {
  static const bool published = loadFingeringScheme(nullptr);
  benchmark::DoNotOptimize(published);
}

// The interrupt routine for one report: the time stamp, the length and the
// copy into the queue. Pushed in batches of kBatch; the queue is emptied
// between batches, outside the timing.
void BM_InterruptPush(benchmark::State& state) {
  constexpr int kBatch = 64;
  VirtualCh375 library(realClock());
  NoMachineLabels labels;
  HeadlessMessages messages;
  MachineConnection machines(library, realClock(), messages, labels);
  InterruptData report{kLongReportLength, 0x7F, 0x7F, 0xFF, 0x9F, 0x39, 0x30, 0x00};
  for (auto _ : state) {
    for (int i = 0; i < kBatch; ++i) machines.onInterrupt(kRedSide, report.data());
    state.PauseTiming();
    machines.clearReportQueues();
    KeyReport drained;
    machines.queue(kRedSide).pop(drained);
    state.ResumeTiming();
  }
  state.counters["push"] = benchmark::Counter(static_cast<double>(state.iterations()) * kBatch,
                                              benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_InterruptPush);

class CountingSink final : public KeyEventSink {
 public:
  void onKeyEvent(const KeyEvent& event) override {
    ++events;
    kept = event;  // the engine keeps a copy
  }
  std::int64_t events = 0;
  KeyEvent kept;
};

// A chord's reports taken from the queue, merged, detected, decoded with the
// built-in scheme and handed on.
void BM_CaptureOneChord(benchmark::State& state) {
  publishBuiltinScheme();
  KeyReportQueue queue;
  CountingSink sink;
  ChordCapture capture(kRedSide, queue, sink);
  const std::vector<PressedKeys> mix = chordMix();
  std::int64_t startMs = 1'700'000'000'000;
  std::size_t next = 0;
  for (auto _ : state) {
    for (const KeyChange& change : chordStrokes(startMs, mix[next++ % mix.size()], {})) {
      InterruptData data{kLongReportLength};
      placeKeyBytes(kLongReportLength, keyBytesFor(change.keys), data.data());
      queue.push(data.data(), change.atMs * kUsPerMs);
    }
    const std::int64_t before = sink.events;
    capture.captureStep(startMs * kUsPerMs);
    if (sink.events == before) state.SkipWithError("the chord did not come out");
    startMs += 1000;
  }
  benchmark::DoNotOptimize(sink.kept);
}
BENCHMARK(BM_CaptureOneChord);

// Two machines played at once on the real clock, state.range(0) chords in
// all. For each key event: the time from the arrival of the last report
// before it (the one that let the chord go) to its delivery.
void BM_KeyLatency(benchmark::State& state) {
  const auto chordCount = static_cast<std::size_t>(state.range(0));
  publishBuiltinScheme();
  using Steady = std::chrono::steady_clock;
  std::array<std::atomic<Steady::rep>, kSideCount> lastArrival{};
  std::vector<double> latenciesUs;

  for (auto _ : state) {
    struct LatencySink final : KeyEventSink {
      std::array<std::atomic<Steady::rep>, kSideCount>* arrivals;
      std::vector<double>* latencies;
      std::mutex mutex;
      void onKeyEvent(const KeyEvent& event) override {
        const Steady::rep now = Steady::now().time_since_epoch().count();
        const Steady::rep arrived = (*arrivals)[sideSlot(event.side)].load();
        std::lock_guard lock(mutex);
        latencies->push_back(std::chrono::duration<double, std::micro>(Steady::duration(now - arrived)).count());
      }
    } sink;
    sink.arrivals = &lastArrival;
    sink.latencies = &latenciesUs;

    VirtualCh375 library(realClock());
    InterruptTap tap(library, [&lastArrival](int deviceIndex, const std::uint8_t*) {
      lastArrival[static_cast<std::size_t>(deviceIndex)].store(Steady::now().time_since_epoch().count());
    });
    library.attach(0, std::make_shared<VirtualMachine>(12345, 180101));
    library.attach(1, std::make_shared<VirtualMachine>(23456, 180101));
    NoMachineLabels labels;
    HeadlessMessages messages;
    KeystrokePath path(tap, realClock(), messages, labels, sink);

    // Up to seven keys 2 ms apart, held 25 ms, a rest of at least 30 ms.
    const PlayingStyle style{.keyDownGapMs = 2, .holdMs = 25, .keyUpGapMs = 2};
    constexpr std::int64_t kPaceMs = 80;
    const std::vector<PressedKeys> mix = chordMix();
    std::vector<PressedKeys> chords;
    for (std::size_t i = 0; chords.size() < chordCount / kSideCount; ++i) chords.push_back(mix[i % mix.size()]);
    const std::int64_t startMs = realClock().nowMs() + 200;
    ChordPlayer(library, 0, style).playSequence(startMs, chords, kPaceMs);
    const std::int64_t endMs = ChordPlayer(library, 1, style).playSequence(startMs + kPaceMs / 2, chords, kPaceMs);
    std::this_thread::sleep_for(std::chrono::milliseconds(endMs - realClock().nowMs() + 1000));
    path.stop();
    library.shutdown();
  }

  std::sort(latenciesUs.begin(), latenciesUs.end());
  const auto at = [&latenciesUs](double quantile) {
    return latenciesUs.empty() ? 0.0 : latenciesUs[static_cast<std::size_t>(quantile * (latenciesUs.size() - 1))];
  };
  state.counters["events"] = static_cast<double>(latenciesUs.size());
  state.counters["median_us"] = at(0.5);
  state.counters["p99_us"] = at(0.99);
}
BENCHMARK(BM_KeyLatency)->Arg(10000)->Iterations(1)->Repetitions(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
}  // namespace qiru
