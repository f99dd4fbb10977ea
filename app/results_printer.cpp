#include "app/results_printer.h"

namespace qiru::app {
namespace {

// How often the printer looks for a result: well within the time a result
// stands before the confirm key counts.
constexpr int kResultLookMs = 100;

}  // namespace

ResultsPrinter::ResultsPrinter(ui::ControlModel& model, MatchEngine& engine, std::ostream& out)
    : model_(model),
      engine_(engine),
      printer_(out, true),
      listening_(model.addChangeListener([this](const ui::ControlChange& change) { printer_.onChange(change); })) {
  connect(&timer_, &QTimer::timeout, this, [this] { look(); });
  timer_.start(kResultLookMs);
}

ResultsPrinter::~ResultsPrinter() { model_.removeChangeListener(listening_); }

void ResultsPrinter::look() {
  const bool resultShown = engine_.state() == MatchState::ResultShown;
  if (resultShown && !resultPrinted_) printer_.write(resultLines(model_));
  resultPrinted_ = resultShown;
}

}  // namespace qiru::app
