#include "tests/simulation/match_sweep.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <atomic>
#include <filesystem>
#include <iterator>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <sstream>
#include <utility>

#include "input/chord_capture.h"
#include "match/result_texts.h"
#include "match/side_controls.h"
#include "materials/utf8_path.h"
#include "simulation/match_watcher.h"
#include "steno/fingering_scheme.h"
#include "support/clock_thread.h"
#include "support/virtual_clock.h"
#include "ui/control_table.h"
#include "ui/option_boxes.h"

namespace qiru::sweep {
namespace {

using ui::Control;
namespace fs = std::filesystem;

const fs::path kBank = pathFromUtf8(std::string(QIRU_SOURCE_DIR) + "/data/比赛题库");
const fs::path kMaterials[] = {kBank / pathFromUtf8("1.基础/单音节.txt"), kBank / pathFromUtf8("2.词语/双音词.txt"),
                               kBank / pathFromUtf8("3.短语/四字词语.txt")};
// Flash times as typed into the box (seconds).
constexpr const char* kFlashTexts[] = {"0.3", "2", "5"};
constexpr MatchState kUnplugStates[] = {MatchState::Idle, MatchState::CountingDown, MatchState::Running,
                                        MatchState::ResultShown};

// From a chord's first key going down to its key record line at the
// latest: the keys, the reader's polls and the worker's wait, with room.
constexpr std::int64_t kRecordLatencyMs = 400;
// Lost reports this close together show as one run in a timeline.
constexpr std::int64_t kLostReportRunGapMs = 2000;
// How often the unplugging driver looks at the match.
constexpr std::int64_t kDriverLookMs = 10;
// How long the driver waits for a state before it lets that unplugging go.
constexpr std::int64_t kDriverPatienceMs = 600'000;

std::uint64_t drawBelow(std::mt19937_64& random, std::uint64_t bound) { return random() % bound; }

BotStyle drawBot(std::mt19937_64& random) {
  return {.chordsPerMinute = static_cast<std::int32_t>(30 + drawBelow(random, 871)),
          .wrongChordShare = static_cast<double>(drawBelow(random, 51)) / 100,
          .reactMs = std::nullopt};
}

struct Record {
  std::int32_t side;
  std::int32_t number;
  TwoAreaCode code;
  std::int64_t atMs;
};

struct RoundResult {
  std::string verdict;
  ui::Colour colour;
  std::int32_t red;
  std::int32_t blue;
  std::string roundLine;  // 标签_局成绩 in the relay
};

// A stretch of time in which a chord may be lost without fault.
struct Window {
  std::int64_t fromMs;
  std::int64_t toMs;
  int deviceIndex;
};

// A report a machine sent that the program never got: the device was
// unplugged, or back but not yet opened again with its interrupt routine.
struct LostReport {
  int deviceIndex;
  std::int64_t atMs;
};

Record recordOf(std::int32_t side, std::string_view line, std::int64_t atMs) {
  // "3 EN - F:I": the number, the name, the chord.
  const std::size_t space = line.find(' ');
  const std::size_t dash = line.rfind(" - ");
  Record record{side, 0, 0, atMs};
  record.number = std::atoi(std::string(line.substr(0, space)).c_str());
  if (dash != std::string_view::npos) record.code = currentScheme().codec.twoAreaCodeOf(line.substr(dash + 3));
  return record;
}

// Watches one match, and unplugs its machines as the match says.
class SweepWatcher final : public MatchWatcher {
 public:
  explicit SweepWatcher(const SweepMatch& match) : match_(match) {}

  void matchStarting(Clock& clock, VirtualCh375& library, MatchEngine& engine) override {
    library_ = &library;
    library.setLostReportListener([this](int deviceIndex, std::int64_t atMs) {
      std::lock_guard hold(mutex_);
      lostReports_.push_back({deviceIndex, atMs});
    });
    driver_ = std::make_unique<ClockThread>(clock, [this, &clock, &library, &engine] {
      for (const Unplugging& unplugging : match_.unpluggings) {
        if (!unplug(clock, library, engine, unplugging)) return;
      }
    });
  }

  void matchEnding() override {
    stopping_ = true;
    driver_.reset();
    if (library_ != nullptr) library_->setLostReportListener({});
  }

  void chordStruck(const StruckChord& chord) override {
    std::lock_guard hold(mutex_);
    chords_.push_back(chord);
  }

  void keyRecorded(std::int32_t side, std::string_view line, std::int64_t atMs) override {
    std::lock_guard hold(mutex_);
    records_.push_back(recordOf(side, line, atMs));
  }

  void controlChanged(const ui::ControlChange& change, std::int64_t atMs) override {
    std::lock_guard hold(mutex_);
    if (change.property == ui::Property::Text &&
        (change.control == scoreLabel(kRedSide) || change.control == scoreLabel(kBlueSide))) {
      // An entry taken (or the scores set up or totalled): chords of the
      // moment may be dropped in the shared modes.
      scoreChanges_.push_back(atMs);
    }
    if (change.control == Control::外形框_结果 && change.property == ui::Property::Shown && change.state.shown) {
      roundCloses_.push_back(atMs);
    }
  }

  void roundEnded(const ui::ControlModel& model, std::int64_t) override {
    // Read before the watcher's own lock: the model calls in under its lock.
    RoundResult result{model.text(Control::标签_结果), model.get(Control::标签_结果, &ui::ControlState::textColour),
                       ui::integerValue(model.text(Control::标签_红方成绩)),
                       ui::integerValue(model.text(Control::标签_蓝方成绩)), model.text(Control::标签_局成绩)};
    std::lock_guard hold(mutex_);
    results_.push_back(std::move(result));
  }

  // The checks, once the match is over.
  void check(std::vector<std::string>& faults) const;
  // Chords, key records and score changes in virtual time since the start,
  // to see why a match failed.
  std::string timeline() const;

 private:
  bool unplug(Clock& clock, VirtualCh375& library, MatchEngine& engine, const Unplugging& unplugging);
  bool reached(MatchEngine& engine, const Unplugging& unplugging);
  void checkResults(std::vector<std::string>& faults) const;
  void checkNumbering(std::vector<std::string>& faults) const;
  void checkChords(std::int32_t side, std::vector<std::string>& faults) const;
  bool mayBeLost(const StruckChord& chord) const;
  bool mayBeLost(const std::vector<const StruckChord*>& struck, std::size_t index) const;
  bool isFragment(const Record& record, const std::vector<const StruckChord*>& struck) const;
  std::int32_t roundOf(std::int64_t atMs) const;

  const SweepMatch& match_;
  VirtualCh375* library_ = nullptr;
  std::unique_ptr<ClockThread> driver_;
  std::atomic<bool> stopping_{false};

  mutable std::mutex mutex_;
  std::vector<StruckChord> chords_;
  std::vector<Record> records_;
  std::vector<std::int64_t> scoreChanges_;
  std::vector<std::int64_t> roundCloses_;
  std::vector<RoundResult> results_;
  std::vector<Window> unpluggedWindows_;
  std::vector<LostReport> lostReports_;
};

bool SweepWatcher::reached(MatchEngine& engine, const Unplugging& unplugging) {
  if (engine.state() != unplugging.when) return false;
  if (!unplugging.betweenMembers) return true;
  // A relay result that is not the last: more members are to come.
  const MatchSettings settings = engine.settings();
  return settings.teamSize > 0 && settings.memberNumber < settings.teamSize;
}

bool SweepWatcher::unplug(Clock& clock, VirtualCh375& library, MatchEngine& engine, const Unplugging& unplugging) {
  const std::int64_t giveUpAt = clock.nowMs() + kDriverPatienceMs;
  while (!reached(engine, unplugging)) {
    if (stopping_ || clock.nowMs() >= giveUpAt) return !stopping_;
    clock.sleepFor(kDriverLookMs);
  }
  clock.sleepFor(unplugging.afterMs);
  if (stopping_) return false;
  std::size_t window = 0;
  {
    // Open until the machine is back: the match may end before that.
    std::lock_guard hold(mutex_);
    window = unpluggedWindows_.size();
    unpluggedWindows_.push_back({clock.nowMs(), std::numeric_limits<std::int64_t>::max(), unplugging.deviceIndex});
  }
  library.unplug(unplugging.deviceIndex);
  clock.sleepFor(unplugging.forMs);
  const std::int32_t number = unplugging.deviceIndex == 0 ? kRedMachineNumber : kBlueMachineNumber;
  library.plugIn(unplugging.deviceIndex, std::make_shared<VirtualMachine>(number, kMachineSecondNumber));
  // Back in the socket: from here on its reports reach the program once the
  // program has opened it again, which may take a while (it may still be
  // busy with the machine's last arrival); until then they are lost
  // reports, which excuse the chords they belong to.
  std::lock_guard hold(mutex_);
  unpluggedWindows_[window].toMs = clock.nowMs();
  return true;
}

std::int32_t SweepWatcher::roundOf(std::int64_t atMs) const {
  return static_cast<std::int32_t>(std::lower_bound(roundCloses_.begin(), roundCloses_.end(), atMs) -
                                   roundCloses_.begin());
}

// A side's chords in the order struck, the confirm keys among them.
using Strokes = std::vector<const StruckChord*>;

// Whether the chord at `index` and the next came so close that the capture
// takes them as one stroke: the second began within the merge window of the
// first's last key coming up.
bool runTogether(const Strokes& struck, std::size_t index) {
  return index + 1 < struck.size() && struck[index + 1]->startMs - struck[index]->upMs <= mergeWindowUs / kUsPerMs;
}

// The same chord again within two merge windows of its last key coming up:
// the capture takes the repeat for the state it has already handed on.
bool repeatedTooSoon(const Strokes& struck, std::size_t index) {
  return index > 0 && struck[index - 1]->code == struck[index]->code &&
         struck[index]->startMs - struck[index - 1]->upMs <= 2 * mergeWindowUs / kUsPerMs;
}

bool SweepWatcher::mayBeLost(const StruckChord& chord) const {
  const std::int64_t lastMs = chord.upMs + kRecordLatencyMs;
  const auto overlaps = [&](std::int64_t fromMs, std::int64_t toMs) { return fromMs <= lastMs && chord.startMs <= toMs; };
  // Struck as the round closed: the round's last reports are let go.
  for (const std::int64_t close : roundCloses_) {
    if (overlaps(close, close)) return true;
  }
  for (const Window& window : unpluggedWindows_) {
    if (window.deviceIndex == chord.side - 1 && overlaps(window.fromMs, window.toMs)) return true;
  }
  // A key change of the chord never reached the program. Each report goes
  // in the frame of its key change: a bot's chords never share a frame.
  for (const LostReport& lost : lostReports_) {
    if (lost.deviceIndex == chord.side - 1 && chord.startMs <= lost.atMs && lost.atMs <= chord.upMs) return true;
  }
  // In the shared modes the side that takes the entry takes it alone: the
  // chords begun before that moment and not yet handled are dropped.
  if (!sidesAdvanceAlone(match_.options.mode)) {
    for (const std::int64_t change : scoreChanges_) {
      if (overlaps(change, change)) return true;
    }
  }
  return false;
}

bool SweepWatcher::mayBeLost(const Strokes& struck, std::size_t index) const {
  return !struck[index]->duringRound || mayBeLost(*struck[index]) || runTogether(struck, index) ||
         (index > 0 && runTogether(struck, index - 1)) || repeatedTooSoon(struck, index);
}

bool SweepWatcher::isFragment(const Record& record, const Strokes& struck) const {
  // Part of a chord begun before the record that was cut short (or run
  // into the next): the capture may keep such a part for a while, until
  // the next keys let it go.
  const auto begun = std::partition_point(struck.begin(), struck.end(),
                                          [&](const StruckChord* chord) { return chord->startMs <= record.atMs; });
  const auto keysWithin = [&](TwoAreaCode keys) {
    return (static_cast<std::uint32_t>(record.code) & ~static_cast<std::uint32_t>(keys)) == 0;
  };
  const auto end = static_cast<std::size_t>(begun - struck.begin());
  for (std::size_t index = end; index > 0;) {
    --index;
    if (!mayBeLost(struck, index)) continue;
    if (keysWithin(struck[index]->code)) return true;
    if (index + 1 < struck.size() && keysWithin(struck[index]->code | struck[index + 1]->code)) return true;
  }
  return false;
}

void SweepWatcher::checkChords(std::int32_t side, std::vector<std::string>& faults) const {
  Strokes struck;
  for (const StruckChord& chord : chords_) {
    if (chord.side == side) struck.push_back(&chord);
  }
  std::size_t next = 0;  // the first struck chord not yet accounted for
  const auto lostBefore = [&](std::size_t end) {
    for (; next < end; ++next) {
      if (!mayBeLost(struck, next)) {
        faults.push_back("side " + std::to_string(side) + ": the chord struck at " +
                         std::to_string(struck[next]->startMs) + " ms was never recorded");
      }
    }
  };
  for (const Record& record : records_) {
    if (record.side != side) continue;
    // The record is of the first round chord still unaccounted for with its
    // keys that could have been recorded at that moment; but one that must
    // have been recorded goes before one that may have been lost (the same
    // keys struck again soon after a lost chord: the record is the later's).
    const auto fits = [&](const StruckChord& chord) {
      return chord.duringRound && chord.code == record.code && record.atMs <= chord.upMs + kRecordLatencyMs;
    };
    std::size_t match = struck.size();
    for (std::size_t index = next; index < struck.size() && struck[index]->startMs <= record.atMs; ++index) {
      if (!fits(*struck[index])) continue;
      if (match == struck.size()) match = index;
      if (!mayBeLost(struck, index)) {
        match = index;
        break;
      }
    }
    if (match == struck.size()) {
      if (!isFragment(record, struck)) {
        faults.push_back("side " + std::to_string(side) + ": key record " + std::to_string(record.number) + " at " +
                         std::to_string(record.atMs) + " ms answers no chord struck (recorded twice, or never struck)");
      }
      continue;
    }
    lostBefore(match);
    next = match + 1;
  }
  lostBefore(struck.size());
}

void SweepWatcher::checkNumbering(std::vector<std::string>& faults) const {
  // Per round and side: 1, 2, 3, ... in the order written.
  std::vector<std::array<std::int32_t, 2>> last(roundCloses_.size() + 1, {0, 0});
  for (const Record& record : records_) {
    std::int32_t& previous = last[static_cast<std::size_t>(roundOf(record.atMs))][record.side - 1];
    if (record.number != previous + 1) {
      faults.push_back("side " + std::to_string(record.side) + ": key record " + std::to_string(record.number) +
                       " follows " + std::to_string(previous) + " at " + std::to_string(record.atMs) + " ms");
    }
    previous = record.number;
  }
}

Verdict expectedVerdict(std::int32_t red, std::int32_t blue, const VerdictTexts& texts) {
  if (red > blue) return {texts.redAhead, kRedAheadColour};
  if (blue > red) return {texts.blueAhead, kBlueAheadColour};
  return {texts.draw, kDrawColour};
}

void SweepWatcher::checkResults(std::vector<std::string>& faults) const {
  const bool relay = match_.options.mode == MatchMode::TeamRelay;
  std::int32_t redTotal = 0;
  std::int32_t blueTotal = 0;
  for (std::size_t round = 0; round < results_.size(); ++round) {
    const RoundResult& result = results_[round];
    const std::string where = "round " + std::to_string(round + 1) + ": ";
    std::int32_t red = result.red;
    std::int32_t blue = result.blue;
    VerdictTexts texts = kRoundVerdicts;
    if (relay) {
      // "3：5  本局蓝方获胜！": the member's round, which the totals add up.
      std::istringstream line(result.roundLine);
      std::int32_t roundRed = -1;
      std::int32_t roundBlue = -1;
      std::string separator;
      line >> roundRed;
      line.ignore(std::string_view("：").size());
      line >> roundBlue;
      redTotal += roundRed;
      blueTotal += roundBlue;
      if (result.roundLine != roundScoreLine(roundRed, roundBlue)) {
        faults.push_back(where + "the member's line \"" + result.roundLine + "\" does not agree with its scores");
      }
      if (red != redTotal || blue != blueTotal) {
        faults.push_back(where + "the totals " + std::to_string(red) + ":" + std::to_string(blue) +
                         " are not the sums of the rounds, " + std::to_string(redTotal) + ":" +
                         std::to_string(blueTotal));
      }
      const bool last = round + 1 == results_.size();
      texts = last ? kRelayFinalVerdicts : kRelayInterimVerdicts;
    }
    const Verdict expected = expectedVerdict(red, blue, texts);
    if (result.verdict != expected.text || result.colour != expected.colour) {
      faults.push_back(where + "the result \"" + result.verdict + "\" does not fit the scores " + std::to_string(red) +
                       ":" + std::to_string(blue));
    }
  }
}

std::string SweepWatcher::timeline() const {
  std::lock_guard hold(mutex_);
  const ChordCodec& codec = currentScheme().codec;
  std::ostringstream out;
  for (const StruckChord& chord : chords_) {
    out << "struck " << chord.side << ' ' << chord.startMs - kSimulationStartMs << '-' << chord.upMs - kSimulationStartMs
        << ' ' << codec.codeText(chord.code) << (chord.duringRound ? "" : " (not in a round)") << '\n';
  }
  for (const Record& record : records_) {
    out << "record " << record.side << " #" << record.number << ' ' << record.atMs - kSimulationStartMs << ' '
        << codec.codeText(record.code) << '\n';
  }
  for (const std::int64_t change : scoreChanges_) out << "score " << change - kSimulationStartMs << '\n';
  for (const std::int64_t close : roundCloses_) out << "round closed " << close - kSimulationStartMs << '\n';
  for (const Window& window : unpluggedWindows_) {
    out << "away " << window.deviceIndex + 1 << ' ' << window.fromMs - kSimulationStartMs << '-'
        << (window.toMs == std::numeric_limits<std::int64_t>::max() ? std::string("end")
                                                                      : std::to_string(window.toMs - kSimulationStartMs))
        << '\n';
  }
  // Lost reports in runs: a run ends where a machine's reports come through again.
  for (std::size_t first = 0; first < lostReports_.size();) {
    std::size_t last = first;
    while (last + 1 < lostReports_.size() && lostReports_[last + 1].deviceIndex == lostReports_[first].deviceIndex &&
           lostReports_[last + 1].atMs - lostReports_[last].atMs <= kLostReportRunGapMs) {
      ++last;
    }
    out << "reports lost " << lostReports_[first].deviceIndex + 1 << ' ' << lostReports_[first].atMs - kSimulationStartMs
        << '-' << lostReports_[last].atMs - kSimulationStartMs << " (" << last - first + 1 << ")\n";
    first = last + 1;
  }
  return out.str();
}

void SweepWatcher::check(std::vector<std::string>& faults) const {
  std::lock_guard hold(mutex_);
  checkResults(faults);
  checkNumbering(faults);
  for (const std::int32_t side : {1, 2}) checkChords(side, faults);
}

}  // namespace

SweepMatch drawMatch(std::uint64_t seed) {
  std::mt19937_64 random(seed);
  SweepMatch match;
  match.seed = seed;
  SimulationOptions& options = match.options;
  options.seed = seed;
  options.mode = static_cast<MatchMode>(drawBelow(random, 4));
  options.material = kMaterials[drawBelow(random, std::size(kMaterials))];
  const bool large = drawBelow(random, 10) == 0;
  switch (options.mode) {
    case MatchMode::TimedRace:
      options.minutes = std::to_string(large ? 2 + drawBelow(random, 4) : 1);
      break;
    case MatchMode::RaceToFinish:
    case MatchMode::QuickAnswer:
      options.entries = std::to_string(large ? 50 + drawBelow(random, 151) : 20);
      break;
    case MatchMode::TeamRelay:
      options.entries = std::to_string(large ? 20 + drawBelow(random, 31) : 10);
      options.members = std::to_string(1 + drawBelow(random, 5));
      break;
  }
  if (drawBelow(random, 2) == 0) options.flashSeconds = kFlashTexts[drawBelow(random, std::size(kFlashTexts))];
  options.red = drawBot(random);
  if (drawBelow(random, 4) != 0) options.blue = drawBot(random);
  const std::uint64_t unpluggings = drawBelow(random, 4);
  for (std::uint64_t n = 0; n < unpluggings; ++n) {
    Unplugging unplugging;
    unplugging.deviceIndex = options.blue && drawBelow(random, 2) == 1 ? 1 : 0;
    unplugging.when = kUnplugStates[drawBelow(random, std::size(kUnplugStates))];
    unplugging.betweenMembers =
        options.mode == MatchMode::TeamRelay && unplugging.when == MatchState::ResultShown && drawBelow(random, 2) == 1;
    unplugging.afterMs = static_cast<std::int64_t>(drawBelow(random, 3000));
    unplugging.forMs = 10 + static_cast<std::int64_t>(drawBelow(random, 3000));
    match.unpluggings.push_back(unplugging);
  }
  return match;
}

std::string describe(const SweepMatch& match) {
  const SimulationOptions& options = match.options;
  std::ostringstream out;
  out << "seed " << match.seed << ": --mode " << static_cast<int>(options.mode) << " --material "
      << utf8Of(options.material.filename());
  if (options.minutes) out << " --minutes " << *options.minutes;
  if (options.entries) out << " --entries " << *options.entries;
  if (options.members) out << " --members " << *options.members;
  if (options.flashSeconds) out << " --flash " << *options.flashSeconds;
  out << " --red cpm=" << options.red.chordsPerMinute << ",errors=" << options.red.wrongChordShare;
  if (options.blue) {
    out << " --blue cpm=" << options.blue->chordsPerMinute << ",errors=" << options.blue->wrongChordShare;
  } else {
    out << " --blue none";
  }
  for (const Unplugging& unplugging : match.unpluggings) {
    out << "; machine " << unplugging.deviceIndex + 1 << " away for " << unplugging.forMs << " ms, "
        << unplugging.afterMs << " ms into " << matchStateName(unplugging.when)
        << (unplugging.betweenMembers ? " between members" : "");
  }
  return out.str();
}

Played playAndCheck(const SweepMatch& match) {
  SweepWatcher watcher(match);
  SimulationOptions options = match.options;
  options.watcher = &watcher;
  std::ostringstream out;
  std::ostringstream err;
  std::vector<std::string> faults;
  VirtualClock clock(kSimulationStartMs);
  {
    ClockParticipation referee(clock);
    if (playMatch(clock, options, out, err) != 0) faults.push_back("the match did not end: " + err.str());
    if (clock.threadsWaiting() != 0) {
      faults.push_back(std::to_string(clock.threadsWaiting()) + " threads still running after the match");
    }
  }
  watcher.check(faults);
  return {faults, out.str(), faults.empty() ? std::string() : watcher.timeline()};
}

}  // namespace qiru::sweep
