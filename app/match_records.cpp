#include "app/match_records.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <utility>

namespace qiru::app {
namespace {

// The hint's place on the result panel: its top right corner, above the result text.
constexpr int kHintHeight = 16;
constexpr int kHintMargin = 4;

MachineNames machineNamesIn(const std::filesystem::path& file) {
  HistoryDatabase db;
  if (file.empty() || db.open(file, HistoryDatabase::Access::Read) != HistoryProblem::None) return {};
  return db.machineNames();
}

// The windows stand alone: the main window is disabled while a result shows.
template <typename Window>
void bringUp(Window* window) {
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace

MatchRecords::MatchRecords(QWidget& window, MatchEngine& engine, const std::filesystem::path& historyFile,
                           MessageService& messages, std::function<void(const MachineNames&)> showNames)
    : window_(window),
      engine_(engine),
      historyFile_(historyFile),
      showNames_(std::move(showNames)),
      lastRound_([this](PlayedRound&& round) {
        std::lock_guard hold(lastMutex_);
        last_ = std::move(round);
      }) {
  if (!historyFile_.empty()) {
    // Read before the writer opens the file: a file it must first create
    // has no names yet anyway.
    if (showNames_) showNames_(machineNamesIn(historyFile_));
    writer_.emplace(historyFile_, &messages);
    engine_.addObserver(writer_->observer());
  }
  engine_.addObserver(lastRound_);
  if (auto* panel = window_.findChild<QWidget*>(QStringLiteral("外形框_结果"))) {
    hint_ = new QLabel(QString::fromUtf8(kRecordKeysHint), panel);
    hint_->setObjectName(QStringLiteral("recordKeysHint"));
    hint_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Dark even while the window is disabled, as it is while a result shows.
    hint_->setStyleSheet(QStringLiteral("QLabel { color: #202020; font-size: 13px; }"));
    panel->installEventFilter(this);
    placeHint();
  }
  qApp->installEventFilter(this);
}

MatchRecords::~MatchRecords() {
  qApp->removeEventFilter(this);
  engine_.removeObserver(lastRound_);
  if (writer_) engine_.removeObserver(writer_->observer());
  delete report_.data();
  delete history_.data();
}

void MatchRecords::placeHint() {
  QWidget* panel = hint_->parentWidget();
  hint_->setGeometry(kHintMargin, 0, panel->width() - 2 * kHintMargin, kHintHeight);
  hint_->raise();
}

bool MatchRecords::eventFilter(QObject* target, QEvent* event) {
  if (hint_ != nullptr && target == hint_->parentWidget() &&
      (event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
    placeHint();
    return false;
  }
  if (event->type() != QEvent::KeyPress) return false;
  auto* widget = qobject_cast<QWidget*>(target);
  if (widget == nullptr || widget->window() != &window_) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key == Qt::Key_F3) {
    showReport();  // before the first round there is nothing to show
    return true;
  }
  if (key == Qt::Key_F2) {
    showHistory();
    return true;
  }
  return false;
}

ResultsReport* MatchRecords::showReport() {
  std::optional<PlayedRound> round;
  {
    std::lock_guard hold(lastMutex_);
    round = last_;
  }
  if (!round) return nullptr;
  delete report_.data();
  report_ = new ResultsReport(*round, machineNamesIn(historyFile_));
  bringUp(report_.data());
  return report_;
}

HistoryWindow* MatchRecords::showHistory() {
  // Read as the file stands: the round just played is written within moments
  // of its end, and waiting here could wait on a box the history thread shows.
  delete history_.data();
  history_ = new HistoryWindow(historyFile_, writer());
  if (showNames_) history_->onNamesChanged(showNames_);
  bringUp(history_.data());
  return history_;
}

}  // namespace qiru::app
