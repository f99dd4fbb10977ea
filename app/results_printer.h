#pragma once
// --print-results: the window's match on standard output, in the lines of
// `qiru-steno simulate` (match_printout.h): each key record line as it is
// written, and each round's result controls once the result shows.

#include <QObject>
#include <QTimer>
#include <iosfwd>

#include "match/match_engine.h"
#include "simulation/match_printout.h"
#include "ui/control_model.h"

namespace qiru::app {

class ResultsPrinter final : public QObject {
 public:
  ResultsPrinter(ui::ControlModel& model, MatchEngine& engine, std::ostream& out);
  ~ResultsPrinter() override;
  ResultsPrinter(const ResultsPrinter&) = delete;
  ResultsPrinter& operator=(const ResultsPrinter&) = delete;

  // Prints the result when a round's result has come up since the last
  // look; the printer looks by itself every few tenths of a second.
  void look();

 private:
  ui::ControlModel& model_;
  MatchEngine& engine_;
  KeyRecordPrinter printer_;
  int listening_;
  QTimer timer_;
  bool resultPrinted_ = false;
};

}  // namespace qiru::app
