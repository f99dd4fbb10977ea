#pragma once
// The match history in the window (F2): the stored rounds newest first,
// filtered by machine number and by date; a machine's progress (字/分 and
// accuracy per round over time); names for machine numbers, shown wherever
// the number is; the list exported as CSV (UTF-8 with a byte order mark, so
// that spreadsheet programs on Chinese systems read it right).

#include <QDialog>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "history/history_database.h"
#include "match/online_labels.h"

class QCheckBox;
class QChartView;
class QComboBox;
class QDateEdit;
class QLabel;
class QTableWidget;

namespace qiru {
class HistoryWriter;
}

namespace qiru::app {

class HistoryWindow final : public QDialog {
 public:
  // `writer` keeps the names given (null: names cannot be given).
  HistoryWindow(std::filesystem::path file, HistoryWriter* writer, QWidget* parent = nullptr);

  // Reads the file again and shows what the filters let through.
  void reload();
  void nameMachine(std::int32_t machine, const std::string& name);
  bool exportCsv(const QString& file) const;
  // The rows shown, newest first.
  const std::vector<HistoryRow>& shown() const { return shown_; }
  void chooseMachine(std::int32_t machine);
  // Told every name as it stands whenever a name is given or forgotten.
  void onNamesChanged(std::function<void(const MachineNames&)> tell) { namesChanged_ = std::move(tell); }

 private:
  void applyFilters();
  void fillTable();
  void fillChart();
  void fillMachineBox();
  std::int32_t chosenMachine() const;  // 0: every machine
  void askName();
  void chooseCsvFile();

  std::filesystem::path file_;
  HistoryWriter* writer_;
  std::vector<HistoryRow> all_;    // oldest first
  std::vector<HistoryRow> shown_;  // newest first
  MachineNames names_;
  std::function<void(const MachineNames&)> namesChanged_;
  QComboBox* machineBox_ = nullptr;
  QCheckBox* byDate_ = nullptr;
  QDateEdit* from_ = nullptr;
  QDateEdit* until_ = nullptr;
  QLabel* status_ = nullptr;
  QTableWidget* table_ = nullptr;
  QChartView* chart_ = nullptr;
};

}  // namespace qiru::app
