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

namespace qiru::app {

// Fills the window's boxes from the command line's match options and
// selects the material (adding it to the list when it lies outside the
// bank). False, with the reason in `error`, when a box refuses its text.
bool presetMatchOptions(ui::ControlModel& model, Program& program, const AppOptions& options, std::string& error);

// Why an autoplay match could not start, in a sentence for the command
// line: no material selected (an empty bank, or a bank that is no folder),
// or a material that cannot make a match, with the boxes a start would
// show. None when the selected material makes a match.
std::optional<std::string> whyAutoplayCannotStart(Program& program);

class MatchReferee final : public QObject {
 public:
  MatchReferee(ui::ControlModel& model, Program& program, QWidget& window, const AppOptions& options);

 private:
  void look();
  void startRound();
  void roundOver();
  std::int32_t roundsToPlay() const;

  ui::ControlModel& model_;
  Program& program_;
  QWidget& window_;
  const AppOptions& options_;
  QTimer timer_;
  std::int32_t roundsPlayed_ = 0;
  bool roundStarted_ = false;
  std::optional<std::int64_t> idleSince_;
};

}  // namespace qiru::app
