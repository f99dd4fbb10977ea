#pragma once
// --print-results: the window's match on standard output, in the lines of
// `qiru-steno simulate` (match/match_printer.h): each key record line as it
// is written, and each round's result controls as the round ends. Every
// line is flushed at once, so that an organiser's log follows the match.

#include <iosfwd>

#include "match/match_engine.h"
#include "match/match_printer.h"

namespace qiru::app {

class ResultsPrinter final {
 public:
  // Prints the engine's rounds from now on, until the printer goes.
  ResultsPrinter(MatchEngine& engine, std::ostream& out);
  ~ResultsPrinter();
  ResultsPrinter(const ResultsPrinter&) = delete;
  ResultsPrinter& operator=(const ResultsPrinter&) = delete;

 private:
  MatchEngine& engine_;
  MatchPrinter printer_;
};

}  // namespace qiru::app
