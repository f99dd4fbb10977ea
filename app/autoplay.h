#pragma once
// The referee of matches that bots play in the window: when the match is
// idle it reports both machines in and strikes the start key on machine 1;
// the bots key the entries and confirm the results. With --autoplay it
// has the results printed (results_printer.h), saves the window when the
// last result shows, and ends the program.

#include <QObject>
#include <QTimer>
#include <array>
#include <string>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>

#include "app/command_line.h"
#include "app/program.h"
#include "app/results_printer.h"

namespace qiru::app {

// Fills the window's boxes from the command line's match options and
// selects the material (adding it to the list when it lies outside the
// bank). False, with the reason in `error`, when a box refuses its text.
bool presetMatchOptions(ui::ControlModel& model, Program& program, const AppOptions& options, std::string& error);

class MatchReferee final : public QObject {
 public:
  // `printer`, when given, prints each result before the program ends.
  MatchReferee(ui::ControlModel& model, Program& program, QWidget& window, const AppOptions& options,
               ResultsPrinter* printer);

 private:
  void look();
  void startRound();
  void roundOver();
  std::int32_t roundsToPlay() const;

  ui::ControlModel& model_;
  Program& program_;
  QWidget& window_;
  const AppOptions& options_;
  ResultsPrinter* printer_;
  QTimer timer_;
  std::int32_t roundsPlayed_ = 0;
  bool roundStarted_ = false;
  std::optional<std::int64_t> idleSince_;
};

}  // namespace qiru::app
