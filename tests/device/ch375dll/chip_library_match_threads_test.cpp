// Whole matches through the chip library backend over the stand-in
// CH375DLL.DLL, in virtual time: a simulated quick-answer match gives the
// same output line for line as on the virtual library directly, and a match
// goes on when machine 1 is unplugged in the middle of it.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "device/ch375dll/ch375dll_library.h"
#include "device/virtual/chord_player.h"
#include "input/keystroke_path.h"
#include "match/answer_key.h"
#include "match/match_engine.h"
#include "match/match_machines.h"
#include "match/match_timer.h"
#include "match/online_labels.h"
#include "materials/material_set.h"
#include "materials/question_bank.h"
#include "materials/utf8_path.h"
#include "simulation/match_simulation.h"
#include "steno/builtin_scheme.h"
#include "steno/chord_codec.h"
#include "support/headless_messages.h"
#include "tests/device/ch375dll/stand_in_machines.h"
#include "tests/device/virtual_rig.h"
#include "tests/input/letters_only_scheme.h"
#include "tests/materials/temp_folder.h"
#include "ui/control_model.h"

namespace qiru {
namespace {

using testing::StandInMachines;

const bool kSchemeLoaded = loadFingeringScheme(nullptr);

TEST(ChipLibraryMatch, QuickAnswerPlaysAsOnTheVirtualLibrary) {
  ASSERT_TRUE(kSchemeLoaded);
  SimulationOptions options;
  options.mode = MatchMode::QuickAnswer;
  options.material = pathFromUtf8(std::string(QIRU_SOURCE_DIR) + "/data/比赛题库/1.基础/单音节.txt");
  options.entries = "15";
  options.red = {300, 0.1};
  options.blue = BotStyle{280, 0.05};
  options.seed = 7;

  std::ostringstream direct;
  std::ostringstream directErr;
  ASSERT_EQ(simulateMatch(options, direct, directErr), 0) << directErr.str();

  std::optional<StandInMachines> standIn;
  const LibraryInFront chipLibrary = [&standIn](VirtualCh375& machines) -> std::unique_ptr<Ch375Library> {
    standIn.emplace(machines);
    return Ch375DllLibrary::open().library;
  };
  std::ostringstream through;
  std::ostringstream throughErr;
  {
    VirtualClock clock(kSimulationStartMs);
    ClockParticipation referee(clock);
    ASSERT_EQ(playMatch(clock, options, through, throughErr, chipLibrary), 0) << throughErr.str();
  }
  EXPECT_NE(direct.str().find("标签_结果="), std::string::npos) << direct.str();
  EXPECT_EQ(through.str(), direct.str());
  EXPECT_EQ(throughErr.str(), directErr.str());
}

// Machine 1 plays alone; it is pulled out after its first answer: the
// labels show it gone, the round goes on, and once it is back its answers
// count again.
TEST(ChipLibraryMatch, UnplugAndReplugInTheMiddleOfAMatch) {
  constexpr std::string_view kMaterial = "one\tA:\r\ntwo\tH:\r\nthree\tN:\r\nfour\tV:\r\nfive\tF:\r\n";
  TempFolder folder;
  testing::VirtualRig rig;
  ui::ControlModel model;
  HeadlessMessages messages{nullptr, answerUnattended, &rig.clock};
  MaterialSet materials{&messages};
  QuestionBank bank{folder.path()};
  model.setComboItems(ui::Control::组合框_素材, {{"material", bank.add(folder.write("m.txt", kMaterial), "material")}});
  model.setCurrentItem(ui::Control::组合框_素材, 0);
  model.setCurrentPage(ui::Control::选择夹_模式, static_cast<int>(MatchMode::RaceToFinish));
  model.setText(ui::Control::编辑框_争先, "5");
  MatchEngine engine{model, rig.clock, messages, materials, bank};
  MatchTimer timer{rig.clock, model};
  installMatchHandlers(model, engine);
  const AnswerKey answers(kMaterial);

  rig.attach(0, testing::kMachine1Number);
  StandInMachines standIn(rig.library);
  std::unique_ptr<Ch375DllLibrary> chip = Ch375DllLibrary::open().library;
  ASSERT_TRUE(chip);
  OnlineLabels labels(model);
  KeystrokePath path(*chip, rig.clock, messages, labels, engine, testing::lettersOnly);
  ConnectedMachines connected(path.machines());
  engine.attachMachines(connected);

  const ChordCodec codec;
  const auto strike = [&](std::string_view chord) {
    const TwoAreaCode code = codec.twoAreaCodeOf(chord);
    const std::int64_t upMs =
        ChordPlayer(rig.library, 0).play(rig.clock.nowMs(), {.right = rightKeySetOf(code), .left = leftKeySetOf(code)});
    rig.waitMs(upMs - rig.clock.nowMs() + 200);
  };
  const auto answerShownEntry = [&] {
    for (const std::string& chord : answers.chordsOf(engine.shownEntry(kRedSide).text)) strike(chord);
  };
  const auto background = [&] { return model.get(ui::Control::标签_一号机在线, &ui::ControlState::background); };

  strike(":I");  // reports in; machine 2 will be simulated
  strike(":I");  // starts: the countdown, then the round
  rig.waitMs(5000);
  ASSERT_EQ(engine.state(), MatchState::Running);
  answerShownEntry();
  rig.waitMs(100);
  ASSERT_EQ(engine.side(kRedSide).roundScore, 1);

  rig.library.unplug(0);
  rig.waitMs(1000);
  EXPECT_EQ(background(), kDisconnectedBackground);
  EXPECT_EQ(engine.state(), MatchState::Running) << "the round goes on without the machine";
  answerShownEntry();  // struck on a machine that is not there
  EXPECT_EQ(engine.side(kRedSide).roundScore, 1);

  rig.plugIn(0, testing::kMachine1Number);
  rig.waitMs(1000);
  EXPECT_EQ(background(), kConnectedBackground);
  answerShownEntry();
  rig.waitMs(100);
  EXPECT_EQ(engine.side(kRedSide).roundScore, 2);
  path.stop();
}

}  // namespace
}  // namespace qiru
