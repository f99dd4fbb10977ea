#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <string_view>

#include "match/match_engine.h"
#include "simulation/match_simulation.h"
#include "materials/material_set.h"
#include "materials/question_bank.h"
#include "steno/builtin_scheme.h"
#include "support/clock_thread.h"
#include "support/headless_messages.h"
#include "support/virtual_clock.h"
#include "ui/control_model.h"

namespace qiru {
namespace {

const char* const kSampleMaterial = QIRU_SOURCE_DIR "/data/比赛题库/1.基础/单音节.txt";

// Both machines reported in and open, as after the report-in.
class ReportedMachines final : public MatchMachines {
 public:
  void refreshMachineLabels() override {}
  void clearReportQueues() override {}
  void forgetMachineNumbers() override {}
  void simulateMachine2(bool) override {}
  bool machine2Simulated() const override { return false; }
  bool isOpen(int) const override { return true; }
  bool hasReportedIn(int) const override { return true; }
};

// One key event as the worker processes it during a race to finish: the
// key record line, the input, the status bar and the answer check (a miss,
// as most chords of a round are until the entry's last one).
void BM_ProcessKeyEvent(benchmark::State& state) {
  loadFingeringScheme(nullptr);
  VirtualClock clock(1'700'000'000'000);
  ClockParticipation driver(clock);
  ui::ControlModel model;
  HeadlessMessages messages(nullptr, answerUnattended, &clock);
  MaterialSet materials(&messages);
  QuestionBank bank(QIRU_SOURCE_DIR "/data/比赛题库");
  const std::int32_t item = bank.add(kSampleMaterial, "单音节");
  model.setComboItems(ui::Control::组合框_素材, {{"单音节", item}});
  model.setCurrentItem(ui::Control::组合框_素材, 0);
  model.setCurrentPage(ui::Control::选择夹_模式, static_cast<int>(MatchMode::RaceToFinish));
  model.setText(ui::Control::编辑框_争先, "200");
  ReportedMachines machines;
  MatchEngine engine(model, clock, messages, materials, bank);
  engine.attachMachines(machines);
  engine.onKeyEvent({1, ":I", "EN"});  // the countdown runs in virtual time
  const std::int64_t struckUs = clock.monotonicUs();
  const KeyEvent miss{1, "RHNV:", "RHNV:", struckUs, struckUs};
  for (auto _ : state) engine.processKeyEvent(miss);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ProcessKeyEvent);

// A 30-minute timed race (9,000 entries), two bots at 300 chords a minute:
// real seconds for a whole simulated match.
void BM_Simulate30MinuteRace(benchmark::State& state) {
  loadFingeringScheme(nullptr);
  SimulationOptions options;
  options.mode = MatchMode::TimedRace;
  options.material = kSampleMaterial;
  options.minutes = "30";
  options.red = BotStyle{300, 0.0, std::nullopt};
  options.blue = BotStyle{300, 0.0, std::nullopt};
  for (auto _ : state) {
    std::ostringstream out, err;
    benchmark::DoNotOptimize(simulateMatch(options, out, err));
  }
}
BENCHMARK(BM_Simulate30MinuteRace)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// Fairness of the shared entry: both bots strike the same answer of every
// entry of a quick answer, one state.range(0) ms after the other (each side
// earlier in turn, many seeds). earlier_share: the share of the points that
// went to the side that finished first (1 is fair).
void BM_FirstToFinishShare(benchmark::State& state) {
  loadFingeringScheme(nullptr);
  constexpr std::int64_t kReactMs = 300;
  constexpr int kSeeds = 10;
  const std::int64_t gapMs = state.range(0);
  const auto points = [](const std::string& out, std::string_view label) {
    const auto at = out.rfind(label);
    return at == std::string::npos ? 0 : std::stoi(out.substr(at + label.size()));
  };
  std::int64_t earlierPoints = 0;
  std::int64_t allPoints = 0;
  for (auto _ : state) {
    for (int seed = 1; seed <= kSeeds; ++seed) {
      for (const bool redEarlier : {true, false}) {
        SimulationOptions options;
        options.mode = MatchMode::QuickAnswer;
        options.material = kSampleMaterial;
        options.entries = "20";
        options.seed = static_cast<std::uint64_t>(seed);
        options.red = BotStyle{600, 0.0, kReactMs + (redEarlier ? 0 : gapMs)};
        options.blue = BotStyle{600, 0.0, kReactMs + (redEarlier ? gapMs : 0)};
        std::ostringstream out, err;
        simulateMatch(options, out, err);
        const int red = points(out.str(), "标签_红方成绩=");
        const int blue = points(out.str(), "标签_蓝方成绩=");
        earlierPoints += redEarlier ? red : blue;
        allPoints += red + blue;
      }
    }
  }
  state.counters["earlier_share"] = allPoints == 0 ? 0.0 : static_cast<double>(earlierPoints) / allPoints;
  state.counters["entries"] = static_cast<double>(allPoints);
}
BENCHMARK(BM_FirstToFinishShare)->Arg(1)->Arg(2)->Arg(3)->Arg(5)->Arg(10)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
}  // namespace qiru
