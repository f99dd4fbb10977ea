#include "simulation/match_simulation.h"

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

#include "device/side.h"
#include "device/virtual/virtual_ch375.h"
#include "input/keystroke_path.h"
#include "match/key_record.h"
#include "match/match_engine.h"
#include "match/match_printer.h"
#include "match/match_timer.h"
#include "match/online_labels.h"
#include "simulation/match_watcher.h"
#include "materials/material_file.h"
#include "support/clock_loop.h"
#include "support/clock_thread.h"
#include "support/headless_messages.h"
#include "support/virtual_clock.h"
#include "ui/control_table.h"
#include "ui/option_boxes.h"
#include "ui/window_setup.h"

namespace qiru {
namespace {

using ui::Control;

// Any key that is not the start key reports a machine in.
inline constexpr std::string_view kReportInChord = "A:";
// From one report-in key to the next: long enough for the chord to be
// captured and handled.
inline constexpr std::int64_t kReportInGapMs = 400;
// Start keys the referee strikes before it gives up: a machine unplugged at
// the moment misses them.
inline constexpr int kStartAttempts = 20;
// How often the referee looks at the match.
inline constexpr std::int64_t kRefereeLookMs = 100;
// Beyond the longest a round can take: every entry timing out, or the time limit.
inline constexpr std::int64_t kRoundSlackMs = 60'000;
inline constexpr std::int64_t kMsPerEntryAtMost = kEntryTimeoutMs + 1000;
inline constexpr std::uint64_t kBlueSeedSalt = 0x9E3779B97F4A7C15ULL;

// The option box the --entries option fills in each mode.
struct BoxText {
  std::string_view option;  // the command line's name for it
  Control box;
  const std::optional<std::string>& text;
};

std::vector<BoxText> boxTextsOf(const SimulationOptions& options) {
  return {{"--minutes", Control::编辑框_限时, options.minutes},
          {"--entries", ui::entryBoxOf(options.mode), options.entries},
          {"--members", Control::编辑框_团队人数, options.members},
          {"--flash", Control::编辑框_闪灭, options.flashSeconds}};
}

// Tells a watcher what the match does: every change of a control (from the
// model's listener) and each key record line (from the match's events).
class WatcherFeed final : public MatchObserver {
 public:
  WatcherFeed(Clock& clock, MatchWatcher& watcher) : clock_(clock), watcher_(watcher) {}

  void onChange(const ui::ControlChange& change) { watcher_.controlChanged(change, clock_.nowMs()); }
  void onChordJudged(const ChordJudged& chord) override {
    watcher_.keyRecorded(chord.side, keyRecordText(chord.number, chord.name, chord.chord), clock_.nowMs());
  }

 private:
  Clock& clock_;
  MatchWatcher& watcher_;
};

// The program as it runs on the virtual machines, without a window.
struct SimulatedProgram {
  SimulatedProgram(Clock& clock, Ch375Library& library, std::ostream& err)
      : messages(&err, answerUnattended, &clock),
        materials(&messages),
        bank(std::filesystem::path()),
        engine(model, clock, messages, materials, bank),
        labels(model),
        path(library, clock, messages, labels, engine),
        machines(path.machines()) {
    ui::setUpMainWindow(model);
    engine.attachMachines(machines);
    installMatchHandlers(model, engine);
  }

  ui::ControlModel model;
  HeadlessMessages messages;
  MaterialSet materials;
  QuestionBank bank;
  MatchEngine engine;
  OnlineLabels labels;
  KeystrokePath path;
  ConnectedMachines machines;
};

void fillOptionBoxes(ui::ControlModel& model, const SimulationOptions& options) {
  model.setCurrentPage(Control::选择夹_模式, static_cast<int>(options.mode));
  for (const BoxText& box : boxTextsOf(options)) {
    if (box.text) ui::enterText(model, box.box, *box.text);
  }
  model.setChecked(Control::选择框_闪灭, options.flashSeconds.has_value());
}

std::int64_t roundLimitMs(const ui::ControlModel& model) {
  const std::int64_t minutes = ui::integerValue(model.text(Control::编辑框_限时));
  std::int64_t entries = 0;
  for (const Control box : {Control::编辑框_争先, Control::编辑框_抢答, Control::编辑框_团队条数}) {
    entries = std::max<std::int64_t>(entries, ui::integerValue(model.text(box)));
  }
  return std::max(minutes * kMsPerMinute, entries * kMsPerEntryAtMost) + kRoundSlackMs;
}

// The referee: reports the machines in, starts each round with the start
// key and reads the result; the bots play and confirm.
class Referee {
 public:
  Referee(Clock& clock, VirtualCh375& library, SimulatedProgram& program, bool bluePlays, MatchWatcher* watcher)
      : clock_(clock), library_(library), program_(program), bluePlays_(bluePlays), watcher_(watcher) {}

  bool playRound(std::ostream& err) {
    if (!waitFor(MatchState::Idle, kRoundSlackMs, err)) return false;
    for (int attempt = 0; program_.engine.state() == MatchState::Idle; ++attempt) {
      if (attempt == kStartAttempts) {
        err << "the round did not start after " << kStartAttempts << " start keys\n";
        return false;
      }
      strike(kRedSide, kReportInChord);
      if (bluePlays_) strike(kBlueSide, kReportInChord);
      strike(kRedSide, kStartChord);
    }
    if (!waitFor(MatchState::ResultShown, roundLimitMs(program_.model), err)) return false;
    if (watcher_ != nullptr) watcher_->roundEnded(program_.model, clock_.nowMs());
    return true;
  }

 private:
  void strike(std::int32_t side, std::string_view chord) {
    const TwoAreaCode code = ChordCodec().twoAreaCodeOf(chord);
    ChordPlayer(library_, side - 1).play(clock_.nowMs(), {.right = rightKeySetOf(code), .left = leftKeySetOf(code)});
    clock_.sleepFor(kReportInGapMs);
  }

  bool waitFor(MatchState state, std::int64_t limitMs, std::ostream& err) {
    const std::int64_t until = clock_.nowMs() + limitMs;
    const auto looking = [&] { return program_.engine.state() != state && clock_.nowMs() < until; };
    if (looking()) {
      // The looks in between only read: the clock takes them in this
      // thread's turns, and this thread goes on at the look that ends them.
      ClockLoop looks(clock_,
                      {.step = [&] { return looking() ? kRefereeLookMs : kLoopEnds; },
                       .woken = [] { return false; },
                       .firstStepAfterMs = kRefereeLookMs},
                      StepsMayWait::No);
      looks.join();
    }
    if (program_.engine.state() == state) return true;
    err << "the match did not reach " << matchStateName(state) << " within " << limitMs / kMsPerSecond
        << " s of play; it stands at " << matchStateName(program_.engine.state()) << "\n";
    return false;
  }

  Clock& clock_;
  VirtualCh375& library_;
  SimulatedProgram& program_;
  bool bluePlays_;
  MatchWatcher* watcher_;
};

std::int32_t roundsOf(const SimulationOptions& options, const ui::ControlModel& model) {
  if (options.mode != MatchMode::TeamRelay) return 1;
  return std::max(ui::integerValue(model.text(Control::编辑框_团队人数)), 1);
}

}  // namespace

std::optional<std::string> optionBoxRefuses(const SimulationOptions& options) {
  for (const BoxText& box : boxTextsOf(options)) {
    if (!box.text) continue;
    if (const auto refusal = ui::refusalOf(box.box, *box.text)) return std::string(box.option) + " " + *refusal;
  }
  return std::nullopt;
}

int simulateMatch(const SimulationOptions& options, std::ostream& out, std::ostream& err,
                  const std::vector<MatchObserver*>& observers) {
  VirtualClock clock(kSimulationStartMs);
  ClockParticipation referee(clock);
  return playMatch(clock, options, out, err, observers);
}

int playMatch(Clock& clock, const SimulationOptions& options, std::ostream& out, std::ostream& err,
              const std::vector<MatchObserver*>& observers) {
  return playMatch(clock, options, out, err, LibraryInFront{}, observers);
}

int playMatch(Clock& clock, const SimulationOptions& options, std::ostream& out, std::ostream& err,
              const LibraryInFront& inFront, const std::vector<MatchObserver*>& observers) {
  const std::optional<std::string> material = readMaterialFile(options.material);
  if (!material) {
    err << "cannot read the material file \"" << options.material.string()
        << "\"; check its name and that you may read it\n";
    return 1;
  }
  const AnswerKey answers(*material);
  bool played = true;
  VirtualCh375 library(clock);
  library.attach(0, std::make_shared<VirtualMachine>(kRedMachineNumber, kMachineSecondNumber));
  if (options.blue) library.attach(1, std::make_shared<VirtualMachine>(kBlueMachineNumber, kMachineSecondNumber));
  const std::unique_ptr<Ch375Library> front = inFront ? inFront(library) : nullptr;
  if (inFront && !front) {
    err << "the library in front of the virtual machines cannot be used\n";
    return 1;
  }
  SimulatedProgram program(clock, front ? *front : library, err);
  MatchPrinter printer(out);
  program.engine.addObserver(printer);
  for (MatchObserver* observer : observers) program.engine.addObserver(*observer);
  std::optional<WatcherFeed> feed;
  if (options.watcher != nullptr) {
    feed.emplace(clock, *options.watcher);
    program.engine.addObserver(*feed);
    program.model.setChangeListener([&feed](const ui::ControlChange& change) { feed->onChange(change); });
  }
  program.materials.seedShuffle(options.seed);
  const std::int32_t item = program.bank.add(options.material, options.material.filename().string());
  program.model.setComboItems(Control::组合框_素材, {{options.material.filename().string(), item}});
  program.model.setCurrentItem(Control::组合框_素材, 0);
  fillOptionBoxes(program.model, options);
  {
    MatchTimer timer(clock, program.model, [&program] { return program.engine.tickWithoutWaiting(); });
    StrikeObserver onStrike;
    if (options.watcher != nullptr) {
      onStrike = [&options](const StruckChord& chord) { options.watcher->chordStruck(chord); };
    }
    MatchBot red(clock, library, program.engine, answers, kRedSide, options.red, options.seed, onStrike);
    std::unique_ptr<MatchBot> blue;
    if (options.blue) {
      blue = std::make_unique<MatchBot>(clock, library, program.engine, answers, kBlueSide, *options.blue,
                                        options.seed ^ kBlueSeedSalt, onStrike);
    }
    if (options.watcher != nullptr) options.watcher->matchStarting(clock, library, program.engine);
    Referee referee(clock, library, program, options.blue.has_value(), options.watcher);
    const std::int32_t rounds = roundsOf(options, program.model);
    for (std::int32_t round = 1; round <= rounds && played; ++round) played = referee.playRound(err);
    if (options.watcher != nullptr) options.watcher->matchEnding();
  }
  program.path.stop();
  library.shutdown();
  program.model.setChangeListener({});
  program.engine.removeObserver(printer);
  for (MatchObserver* observer : observers) program.engine.removeObserver(*observer);
  if (feed) program.engine.removeObserver(*feed);
  return played ? 0 : 1;
}

}  // namespace qiru
