#include "simulation/match_simulation.h"

#include <array>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <sstream>
#include <vector>

#include "device/side.h"
#include "device/virtual/virtual_ch375.h"
#include "match/key_record.h"
#include "input/keystroke_path.h"
#include "match/match_engine.h"
#include "match/match_timer.h"
#include "match/online_labels.h"
#include "materials/material_file.h"
#include "support/clock_thread.h"
#include "support/headless_messages.h"
#include "support/virtual_clock.h"
#include "ui/control_table.h"
#include "ui/option_boxes.h"
#include "ui/window_setup.h"

namespace qiru {
namespace {

using ui::Control;

// The machines' own numbers, as they report in.
inline constexpr std::int32_t kRedMachineNumber = 10001;
inline constexpr std::int32_t kBlueMachineNumber = 10002;
inline constexpr std::int32_t kMachineSecondNumber = 180101;
// Any key that is not the start key reports a machine in.
inline constexpr std::string_view kReportInChord = "A:";
// From one report-in key to the next: long enough for the chord to be
// captured and handled.
inline constexpr std::int64_t kReportInGapMs = 400;
// How often the referee looks at the match.
inline constexpr std::int64_t kRefereeLookMs = 100;
// Beyond the longest a round can take: every entry timing out, or the time limit.
inline constexpr std::int64_t kRoundSlackMs = 60'000;
inline constexpr std::int64_t kMsPerEntryAtMost = kEntryTimeoutMs + 1000;
inline constexpr std::uint64_t kBlueSeedSalt = 0x9E3779B97F4A7C15ULL;

// The option box the --entries option fills in each mode.
struct BoxText {
  Control box;
  const std::optional<std::string>& text;
};

std::vector<BoxText> boxTextsOf(const SimulationOptions& options) {
  return {{Control::编辑框_限时, options.minutes},
          {ui::entryBoxOf(options.mode), options.entries},
          {Control::编辑框_团队人数, options.members},
          {Control::编辑框_闪灭, options.flashSeconds}};
}

// Writes each key record line to `out` as it is appended to its box.
class KeyRecordPrinter {
 public:
  explicit KeyRecordPrinter(std::ostream& out) : out_(out) {}

  // Called with the model's lock held, in the order the lines are written.
  void onChange(const ui::ControlChange& change) {
    if (change.property != ui::Property::Text) return;
    for (const std::int32_t side : {kRedSide, kBlueSide}) {
      if (change.control != keyRecordBox(side)) continue;
      const std::string& text = change.state.text;
      std::size_t& printed = printedLength_[sideSlot(side)];
      // Appended lines start with a line break; a heading or an emptied box does not.
      if (text.size() > printed && text.compare(printed, 2, "\r\n") == 0) {
        std::lock_guard hold(outMutex_);
        out_ << side << '\t' << std::string_view(text).substr(printed + 2) << '\n';
      }
      printed = text.size();
    }
  }

  // Lines that the match did not write (the results), between the key records.
  void write(const std::string& lines) {
    std::lock_guard hold(outMutex_);
    out_ << lines;
  }

 private:
  std::ostream& out_;
  std::mutex outMutex_;  // the worker writes key records, the referee results
  std::array<std::size_t, kSideCount> printedLength_{};  // guarded by the model's lock
};

std::string resultLines(const ui::ControlModel& model) {
  std::ostringstream out;
  const auto line = [&](Control control) {
    out << ui::controlName(control) << '=' << model.text(control) << '\n';
  };
  line(Control::标签_结果);
  char colour[16];
  std::snprintf(colour, sizeof colour, "0x%06X", model.get(Control::标签_结果, &ui::ControlState::textColour));
  out << ui::controlName(Control::标签_结果) << ".color=" << colour << '\n';
  if (model.shown(Control::标签_局成绩)) line(Control::标签_局成绩);
  line(Control::标签_红方成绩);
  line(Control::标签_蓝方成绩);
  return out.str();
}

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
  Referee(Clock& clock, VirtualCh375& library, SimulatedProgram& program, bool bluePlays)
      : clock_(clock), library_(library), program_(program), bluePlays_(bluePlays) {}

  bool playRound(KeyRecordPrinter& out, std::ostream& err) {
    if (!waitFor(MatchState::Idle, kRoundSlackMs, err)) return false;
    strike(kRedSide, kReportInChord);
    if (bluePlays_) strike(kBlueSide, kReportInChord);
    strike(kRedSide, kStartChord);
    if (!waitFor(MatchState::ResultShown, roundLimitMs(program_.model), err)) return false;
    out.write(resultLines(program_.model));
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
    while (program_.engine.state() != state) {
      if (clock_.nowMs() >= until) {
        err << "the match did not reach " << matchStateName(state) << " within " << limitMs / kMsPerSecond
            << " s of play; it stands at " << matchStateName(program_.engine.state()) << "\n";
        return false;
      }
      clock_.sleepFor(kRefereeLookMs);
    }
    return true;
  }

  Clock& clock_;
  VirtualCh375& library_;
  SimulatedProgram& program_;
  bool bluePlays_;
};

std::int32_t roundsOf(const SimulationOptions& options, const ui::ControlModel& model) {
  if (options.mode != MatchMode::TeamRelay) return 1;
  return std::max(ui::integerValue(model.text(Control::编辑框_团队人数)), 1);
}

}  // namespace

std::optional<std::string> optionBoxRefuses(const SimulationOptions& options) {
  for (const BoxText& box : boxTextsOf(options)) {
    const auto option = ui::findOptionBox(box.box);
    if (box.text && option && !ui::acceptsText(*option, *box.text)) return std::string(ui::controlName(box.box));
  }
  return std::nullopt;
}

int simulateMatch(const SimulationOptions& options, std::ostream& out, std::ostream& err) {
  VirtualClock clock(kSimulationStartMs);
  ClockParticipation referee(clock);
  return playMatch(clock, options, out, err);
}

int playMatch(Clock& clock, const SimulationOptions& options, std::ostream& out, std::ostream& err) {
  return playMatch(clock, options, out, err, {});
}

int playMatch(Clock& clock, const SimulationOptions& options, std::ostream& out, std::ostream& err,
              const LibraryInFront& inFront) {
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
  KeyRecordPrinter printer(out);
  program.model.setChangeListener([&printer](const ui::ControlChange& change) { printer.onChange(change); });
  program.materials.seedShuffle(options.seed);
  const std::int32_t item = program.bank.add(options.material, options.material.filename().string());
  program.model.setComboItems(Control::组合框_素材, {{options.material.filename().string(), item}});
  program.model.setCurrentItem(Control::组合框_素材, 0);
  fillOptionBoxes(program.model, options);
  {
    MatchTimer timer(clock, program.model);
    MatchBot red(clock, library, program.engine, answers, kRedSide, options.red, options.seed);
    std::unique_ptr<MatchBot> blue;
    if (options.blue) {
      blue = std::make_unique<MatchBot>(clock, library, program.engine, answers, kBlueSide, *options.blue,
                                        options.seed ^ kBlueSeedSalt);
    }
    Referee referee(clock, library, program, options.blue.has_value());
    const std::int32_t rounds = roundsOf(options, program.model);
    for (std::int32_t round = 1; round <= rounds && played; ++round) played = referee.playRound(printer, err);
  }
  program.path.stop();
  library.shutdown();
  program.model.setChangeListener({});
  return played ? 0 : 1;
}

}  // namespace qiru
