#pragma once
// The program once its window exists and the guards have let it run: the
// question bank in the material box, the match engine, the machines (the
// USB machines, or the keyboard machine and bots on the virtual library;
// the simulated machine 2) with their reader threads, and the fingering
// scheme. Everything the window's handlers reach lives here; stop() ends
// every thread before anything goes away.

#include <filesystem>
#include <memory>
#include <optional>
#include <utility>

#include "app/bot_report_in.h"
#include "app/command_line.h"
#include "app/keyboard_machine.h"
#include "app/opponent_bot.h"
#include "app/usb_machines.h"
#include "device/virtual/virtual_ch375.h"
#include "input/keystroke_path.h"
#include "match/match_engine.h"
#include "match/match_machines.h"
#include "match/online_labels.h"
#include "materials/material_set.h"
#include "materials/question_bank.h"
#include "support/messages.h"
#include "ui/control_model.h"
#include "ui/qt/main_window.h"

namespace qiru::app {

// The virtual machines' own numbers, as they report in.
inline constexpr std::int32_t kKeyboardMachineNumber = 10001;
inline constexpr std::int32_t kBotMachineNumbers[] = {10001, 10002};
inline constexpr std::int32_t kVirtualSecondNumber = 180101;

class Program {
 public:
  // Runs the start-up proper after the guards: window set-up, bank scan,
  // idle banner, machines and reader threads, scheme. `machines` is what
  // chooseMachineBackend decided (without an error).
  Program(ui::ControlModel& model, ui::qt::MainWindow& window, MessageService& messages, const AppOptions& options,
          const std::filesystem::path& bankFolder, MachineBackend machines);
  ~Program() { stop(); }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Ends the bots, the keyboard, the reader threads, the round's worker,
  // then the library's calls into the program and the virtual machines'
  // threads, and lets go of the window's handlers. The USB machines are closed when the program
  // goes. Later calls do nothing.
  void stop();

  MatchEngine& engine() { return engine_; }
  QuestionBank& bank() { return bank_; }
  // The material box's current item, as a file; empty when none.
  std::filesystem::path selectedMaterial() const;
  // The import of a chosen file, as the import button does it after its
  // dialog.
  void importChosen(const std::filesystem::path& chosen);
  // Selects the material of that item value in the material box.
  void selectItemValue(std::int32_t itemValue);
  // The virtual library of the keyboard machine and the bots.
  VirtualCh375& virtualMachines() { return virtual_; }
  // Whether a machine 2 is attached (else the match simulates it).
  bool hasMachine2() const { return blue_ != nullptr; }
  // Esc and closing the window during a countdown or a running round: asks
  // "结束本局比赛？" and on Yes stops the round. True when it was stopped.
  bool askToStopRound();
  // Names people gave to machine numbers: shown on the online labels.
  void nameMachines(MachineNames names) { labels_.nameMachines(std::move(names)); }

 private:
  void installWindowHandlers();
  void installStopKeys();
  void fillMaterialBox();
  void startMachines(const AppOptions& options, MachineSource machines);
  void onMaterialChosen();
  void chooseAndImport();
  void showKeyboardLayout();

  ui::ControlModel& model_;
  ui::qt::MainWindow& window_;
  MessageService& messages_;
  // Members go in the reverse of this order: each after everything that
  // uses it. stop() has ended every thread before the first goes.
  QuestionBank bank_;
  MaterialSet materials_;
  OnlineLabels labels_;
  // Declared before the machine link, which must go first.
  VirtualCh375 virtual_;
  std::unique_ptr<Ch375Library> usb_;  // the USB machines, when they play
  std::optional<KeystrokePath> path_;
  std::optional<ConnectedMachines> machines_;
  // After the machines, which its round's worker clears: it goes, and joins
  // its worker, while they are still there. The reader threads (path_) call
  // into it, and stop() has ended them first.
  MatchEngine engine_;
  std::unique_ptr<KeyboardMachine> keyboard_;
  std::unique_ptr<OpponentBot> red_;
  std::unique_ptr<OpponentBot> blue_;
  std::unique_ptr<BotReportIn> blueReportsIn_;  // the bot beside the keyboard player
  bool stopped_ = false;
};

}  // namespace qiru::app
