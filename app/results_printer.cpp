#include "app/results_printer.h"

namespace qiru::app {

ResultsPrinter::ResultsPrinter(MatchEngine& engine, std::ostream& out)
    : engine_(engine), printer_(out, MatchPrinter::Flush::EachWrite) {
  engine_.addObserver(printer_);
}

ResultsPrinter::~ResultsPrinter() { engine_.removeObserver(printer_); }

}  // namespace qiru::app
