#pragma once
// What the window keeps of each round: the match history (written on its
// own thread), the last round for its results report, and the two keys that
// open them: F3 the report of the round just played (named on the result
// panel), F2 the history. Names given to machine numbers in the history
// are handed on to be shown wherever the window shows the number.

#include <QObject>
#include <QPointer>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>

#include "app/history_window.h"
#include "app/results_report.h"
#include "history/history_writer.h"
#include "history/played_round.h"
#include "match/match_engine.h"
#include "match/online_labels.h"

class QLabel;
class QWidget;

namespace qiru::app {

// What the result panel says about the keys.
inline constexpr const char* kRecordKeysHint = "F3 成绩详情   F2 比赛历史";

class MatchRecords final : public QObject {
 public:
  // `historyFile` empty: no history is kept (the report still works).
  // `showNames` is told the names kept in the history at once, and again
  // whenever one is given or forgotten.
  MatchRecords(QWidget& window, MatchEngine& engine, const std::filesystem::path& historyFile,
               MessageService& messages, std::function<void(const MachineNames&)> showNames = {});
  ~MatchRecords() override;

  bool eventFilter(QObject* target, QEvent* event) override;

  // The report of the last round (none before the first round ends).
  ResultsReport* showReport();
  HistoryWindow* showHistory();
  HistoryWriter* writer() { return writer_ ? &*writer_ : nullptr; }

 private:
  void placeHint();

  QWidget& window_;
  MatchEngine& engine_;
  std::filesystem::path historyFile_;
  std::function<void(const MachineNames&)> showNames_;
  std::optional<HistoryWriter> writer_;
  RoundCollector lastRound_;
  std::mutex lastMutex_;
  std::optional<PlayedRound> last_;  // guarded by lastMutex_
  QLabel* hint_ = nullptr;
  QPointer<ResultsReport> report_;
  QPointer<HistoryWindow> history_;
};

}  // namespace qiru::app
