#pragma once
// The match engine on a virtual clock with machines that the test reports
// in by hand and key events that the test delivers itself, as the reader
// threads would: whole rounds in virtual time, the same every run.

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <memory>
#include <string>

#include "match/answer_key.h"
#include "match/match_engine.h"
#include "match/match_timer.h"
#include "support/clock_thread.h"
#include "support/headless_messages.h"
#include "support/virtual_clock.h"
#include "tests/materials/temp_folder.h"
#include "ui/question_pane.h"

namespace qiru::testing {

// Machines whose report-in the test decides.
class ScriptedMachines final : public MatchMachines {
 public:
  void refreshMachineLabels() override {}
  void clearReportQueues() override { ++queueClears; }
  void forgetMachineNumbers() override {
    for (auto& in : reportedIn) in = false;
  }
  void simulateMachine2(bool on) override { simulated = on; }
  bool machine2Simulated() const override { return simulated; }
  bool isOpen(int side) const override { return open[side - 1] || (side == 2 && simulated); }
  bool hasReportedIn(int side) const override { return reportedIn[side - 1] || (side == 2 && simulated); }

  void reportBothIn() {
    for (auto& in : reportedIn) in = true;
  }

  std::array<std::atomic<bool>, 2> reportedIn{};
  std::array<std::atomic<bool>, 2> open{true, true};
  std::atomic<bool> simulated{false};
  std::atomic<int> queueClears{0};
};

// Single-chord entries and one of two chords; ASCII, so the same in GBK.
inline constexpr std::string_view kMixedMaterial =
    "one\tA:\r\ntwo\tH:\r\nthree\tN:\r\nfour\tV:\r\nfive\tF:\r\npair\tR:|U:\r\n";
// Only entries of two chords.
inline constexpr std::string_view kPairMaterial =
    "ab\tA:|H:\r\ncd\tN:|V:\r\nef\tF:|L:\r\ngh\tR:|U:\r\nij\tO:|G:\r\n";

inline constexpr std::int64_t kRigStartMs = 1'700'000'000'000;
// Time enough for the worker to take what was queued.
inline constexpr std::int64_t kWorkerTurnMs = 60;

class MatchRig : public ::testing::Test {
 protected:
  explicit MatchRig(std::string_view material = kMixedMaterial) : answers(material) {
    const auto path = folder.write("material.txt", material);
    const std::int32_t item = bank.add(path, "material");
    model.setComboItems(ui::Control::组合框_素材, {{"material", item}});
    model.setCurrentItem(ui::Control::组合框_素材, 0);
    materials.seedShuffle(7);
    engine.attachMachines(machines);
    installMatchHandlers(model, engine);
  }

  // A chord struck and completed now, as a reader hands it on.
  void key(std::int32_t side, const std::string& chord, const std::string& name = {}) {
    const std::int64_t nowUs = clock.monotonicUs();
    if (!name.empty()) return namedKey(side, chord, name);
    stampedKey(side, chord, nowUs, nowUs);
  }
  void stampedKey(std::int32_t side, const std::string& chord, std::int64_t beganUs, std::int64_t completedUs) {
    engine.onKeyEvent({side, chord, chord, beganUs, completedUs});
  }
  void namedKey(std::int32_t side, const std::string& chord, const std::string& name) {
    const std::int64_t nowUs = clock.monotonicUs();
    engine.onKeyEvent({side, chord, name, nowUs, nowUs});
  }
  void confirm(std::int32_t side = 1) { key(side, "F:I", "EN"); }
  void waitMs(std::int64_t ms) { clock.sleepFor(ms); }

  // Both machines in, the mode's page and box, the start key; returns when
  // the countdown is over.
  void start(MatchMode mode, ui::Control box, const std::string& value) {
    model.setCurrentPage(ui::Control::选择夹_模式, static_cast<int>(mode));
    model.setText(box, value);
    machines.reportBothIn();
    key(1, ":I");
  }

  // Strikes every chord of the side's entry, then lets the worker take them.
  void answer(std::int32_t side) {
    const MatchEngine::ShownEntry shown = engine.shownEntry(side);
    ASSERT_NE(shown.position, 0) << "side " << side << " has no entry";
    for (const std::string& chord : answers.chordsOf(shown.text)) key(side, chord);
    waitMs(kWorkerTurnMs);
  }

  void waitFor(MatchState state, std::int64_t limitMs = 600'000) {
    for (std::int64_t waited = 0; engine.state() != state && waited < limitMs; waited += 100) waitMs(100);
    ASSERT_EQ(engine.state(), state);
  }

  std::string headline(ui::Control pane) const {
    const ui::RichText text = model.get(pane, &ui::ControlState::richText);
    if (text.empty()) return {};
    std::string line = text.front().text;
    if (line.ends_with("\r\n")) line.resize(line.size() - 2);
    return line;
  }
  std::string note(ui::Control pane) const {
    const ui::RichText text = model.get(pane, &ui::ControlState::richText);
    return text.size() < 2 ? std::string() : text[1].text;
  }

  VirtualClock clock{kRigStartMs};
  ClockParticipation driver{clock};
  TempFolder folder;
  ui::ControlModel model;
  HeadlessMessages messages{nullptr, answerUnattended, &clock};
  MaterialSet materials{&messages};
  QuestionBank bank{folder.path()};
  ScriptedMachines machines;
  AnswerKey answers;
  MatchEngine engine{model, clock, messages, materials, bank};
  MatchTimer timer{clock, model};
};

}  // namespace qiru::testing
