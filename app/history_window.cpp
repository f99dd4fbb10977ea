#include "app/history_window.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineSeries>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>
#include <set>

#include "app/results_report.h"
#include "app/save_file.h"
#include "history/history_listing.h"
#include "history/history_writer.h"
#include "support/date_time_format.h"

namespace qiru::app {
namespace {

QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

const QStringList kColumns = {QStringLiteral("比赛"), QStringLiteral("时间"), QStringLiteral("模式"),
                              QStringLiteral("素材"), QStringLiteral("方"),   QStringLiteral("机器"),
                              QStringLiteral("得分"), QStringLiteral("字/分"), QStringLiteral("正确率"),
                              QStringLiteral("击键"), QStringLiteral("错击"), QStringLiteral("用时(秒)"),
                              QStringLiteral("结果")};

}  // namespace

HistoryWindow::HistoryWindow(std::filesystem::path file, HistoryWriter* writer, QWidget* parent)
    : QDialog(parent), file_(std::move(file)), writer_(writer) {
  setObjectName(QStringLiteral("historyWindow"));
  setWindowTitle(QStringLiteral("比赛历史"));
  auto* layout = new QVBoxLayout(this);
  auto* filters = new QHBoxLayout;
  filters->addWidget(new QLabel(QStringLiteral("机器："), this));
  machineBox_ = new QComboBox(this);
  machineBox_->setObjectName(QStringLiteral("machineFilter"));
  machineBox_->setMinimumWidth(160);
  filters->addWidget(machineBox_);
  auto* name = new QPushButton(QStringLiteral("命名…"), this);
  name->setObjectName(QStringLiteral("nameMachine"));
  filters->addWidget(name);
  byDate_ = new QCheckBox(QStringLiteral("日期从"), this);
  filters->addWidget(byDate_);
  from_ = new QDateEdit(QDate::currentDate().addMonths(-1), this);
  until_ = new QDateEdit(QDate::currentDate(), this);
  for (QDateEdit* edit : {from_, until_}) {
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  }
  filters->addWidget(from_);
  filters->addWidget(new QLabel(QStringLiteral("到"), this));
  filters->addWidget(until_);
  filters->addStretch();
  layout->addLayout(filters);

  table_ = new QTableWidget(0, static_cast<int>(kColumns.size()), this);
  table_->setObjectName(QStringLiteral("historyTable"));
  table_->setHorizontalHeaderLabels(kColumns);
  table_->verticalHeader()->setVisible(false);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  layout->addWidget(table_, 3);
  chart_ = new QChartView(new QChart, this);
  chart_->setObjectName(QStringLiteral("progressChart"));
  chart_->setRenderHint(QPainter::Antialiasing);
  chart_->setMinimumHeight(260);
  layout->addWidget(chart_, 2);

  status_ = new QLabel(this);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole);
  QPushButton* csv = buttons->addButton(QStringLiteral("导出CSV…"), QDialogButtonBox::ActionRole);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(status_, 1);
  bottom->addWidget(buttons);
  layout->addLayout(bottom);

  connect(machineBox_, &QComboBox::currentIndexChanged, this, &HistoryWindow::applyFilters);
  connect(byDate_, &QCheckBox::toggled, this, &HistoryWindow::applyFilters);
  connect(from_, &QDateEdit::dateChanged, this, &HistoryWindow::applyFilters);
  connect(until_, &QDateEdit::dateChanged, this, &HistoryWindow::applyFilters);
  connect(name, &QPushButton::clicked, this, &HistoryWindow::askName);
  connect(csv, &QPushButton::clicked, this, &HistoryWindow::chooseCsvFile);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  resize(1100, 720);
  reload();
}

void HistoryWindow::reload() {
  HistoryDatabase db;
  const HistoryProblem problem = db.open(file_, HistoryDatabase::Access::Read);
  all_ = db.rows();
  names_ = db.machineNames();
  status_->setText(problem == HistoryProblem::None
                       ? QStringLiteral("历史文件：") + QString::fromStdString(file_.string())
                       : fromUtf8(historyProblemText(problem, file_, db.lastError())).replace("\r\n", " "));
  fillMachineBox();
  applyFilters();
}

void HistoryWindow::fillMachineBox() {
  const std::int32_t chosen = chosenMachine();
  std::set<std::int32_t> machines;
  for (const HistoryRow& row : all_) machines.insert(row.machine);
  const QSignalBlocker quiet(machineBox_);
  machineBox_->clear();
  machineBox_->addItem(QStringLiteral("全部机器"), 0);
  for (const std::int32_t machine : machines) {
    QString text = QString::number(machine);
    if (const auto name = names_.find(machine); name != names_.end()) text += " = " + fromUtf8(name->second);
    machineBox_->addItem(text, machine);
  }
  const int index = machineBox_->findData(chosen);
  machineBox_->setCurrentIndex(index < 0 ? 0 : index);
}

std::int32_t HistoryWindow::chosenMachine() const {
  return machineBox_->currentIndex() < 0 ? 0 : machineBox_->currentData().toInt();
}

void HistoryWindow::chooseMachine(std::int32_t machine) {
  const int index = machineBox_->findData(machine);
  if (index >= 0) machineBox_->setCurrentIndex(index);
}

void HistoryWindow::applyFilters() {
  const std::int32_t machine = chosenMachine();
  const std::int64_t fromMs = QDateTime(from_->date(), QTime(0, 0)).toMSecsSinceEpoch();
  const std::int64_t untilMs = QDateTime(until_->date().addDays(1), QTime(0, 0)).toMSecsSinceEpoch();
  shown_.clear();
  for (auto row = all_.rbegin(); row != all_.rend(); ++row) {
    if (machine != 0 && row->machine != machine) continue;
    if (byDate_->isChecked() && (row->startedMs < fromMs || row->startedMs >= untilMs)) continue;
    shown_.push_back(*row);
  }
  fillTable();
  fillChart();
}

void HistoryWindow::fillTable() {
  table_->setRowCount(static_cast<int>(shown_.size()));
  for (int r = 0; r < static_cast<int>(shown_.size()); ++r) {
    const HistoryRow& row = shown_[static_cast<std::size_t>(r)];
    const QStringList cells = {
        QString::number(row.match) + "." + QString::number(row.round),
        fromUtf8(formatDateTime(localTimeAt(row.startedMs))),
        fromUtf8(modeTitle(row.mode)),
        fromUtf8(row.material),
        fromUtf8(sideTitle(row.side)),
        sideHeading(row.side, row.machine, names_).section("  ", 1),
        QString::number(row.score),
        QString::number(row.charsPerMinute, 'f', 1),
        QString::number(row.accuracyPercent, 'f', 1) + "%",
        QString::number(row.chords),
        QString::number(row.wrongChords),
        QString::number(static_cast<double>(row.playingMs) / 1000.0, 'f', 1),
        fromUtf8(sideResultTitle(row.result)) + (row.stopped ? QStringLiteral("（中止）") : QString()),
    };
    for (int c = 0; c < cells.size(); ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      if (c == 4) item->setForeground(row.side == 1 ? QColor(0xC0, 0x20, 0x20) : QColor(0x20, 0x40, 0xC0));
      table_->setItem(r, c, item);
    }
  }
}

void HistoryWindow::fillChart() {
  auto* chart = new QChart;
  const std::int32_t machine = chosenMachine();
  chart->setTitle(machine == 0 ? QStringLiteral("进步曲线：请选择一台机器")
                               : QStringLiteral("进步曲线：") + sideHeading(1, machine, names_).section("  ", 1));
  auto* speed = new QLineSeries;
  speed->setName(QStringLiteral("字/分"));
  auto* accuracy = new QLineSeries;
  accuracy->setName(QStringLiteral("正确率 %"));
  double highest = 10;
  if (machine != 0) {
    for (auto row = shown_.rbegin(); row != shown_.rend(); ++row) {
      speed->append(static_cast<qreal>(row->startedMs), row->charsPerMinute);
      accuracy->append(static_cast<qreal>(row->startedMs), row->accuracyPercent);
      highest = std::max(highest, row->charsPerMinute);
    }
  }
  speed->setPointsVisible(true);
  accuracy->setPointsVisible(true);
  chart->addSeries(speed);
  chart->addSeries(accuracy);
  auto* time = new QDateTimeAxis;
  time->setFormat(QStringLiteral("MM-dd hh:mm"));
  chart->addAxis(time, Qt::AlignBottom);
  auto* speedAxis = new QValueAxis;
  speedAxis->setTitleText(QStringLiteral("字/分"));
  speedAxis->setRange(0, highest * 1.1);
  speedAxis->applyNiceNumbers();
  auto* accuracyAxis = new QValueAxis;
  accuracyAxis->setTitleText(QStringLiteral("正确率 %"));
  accuracyAxis->setRange(0, 100);
  chart->addAxis(speedAxis, Qt::AlignLeft);
  chart->addAxis(accuracyAxis, Qt::AlignRight);
  speed->attachAxis(time);
  speed->attachAxis(speedAxis);
  accuracy->attachAxis(time);
  accuracy->attachAxis(accuracyAxis);
  if (speed->count() > 0) {
    const qint64 first = static_cast<qint64>(speed->at(0).x());
    const qint64 last = static_cast<qint64>(speed->at(speed->count() - 1).x());
    // A single round still gets an hour's width, so that its point stands inside the chart.
    time->setRange(QDateTime::fromMSecsSinceEpoch(first - 1800'000), QDateTime::fromMSecsSinceEpoch(last + 1800'000));
  }
  QChart* old = chart_->chart();
  chart_->setChart(chart);
  delete old;
}

void HistoryWindow::nameMachine(std::int32_t machine, const std::string& name) {
  if (name.empty()) {
    names_.erase(machine);
  } else {
    names_[machine] = name;
  }
  if (writer_) writer_->nameMachine(machine, name);
  if (namesChanged_) namesChanged_(names_);
  fillMachineBox();
  applyFilters();
}

void HistoryWindow::askName() {
  const std::int32_t machine = chosenMachine();
  if (machine == 0 || writer_ == nullptr) {
    QMessageBox::information(this, QStringLiteral("比赛历史"),
                             writer_ == nullptr ? QStringLiteral("没有保存比赛历史，无法为机器命名。")
                                                : QStringLiteral("请先在“机器”中选择一台机器，再为它命名。"));
    return;
  }
  const auto current = names_.find(machine);
  bool given = false;
  const QString name = QInputDialog::getText(
      this, QStringLiteral("机器命名"), QStringLiteral("机器 %1 的名字（留空则取消名字）：").arg(machine), QLineEdit::Normal,
      current == names_.end() ? QString() : fromUtf8(current->second), &given);
  if (given) nameMachine(machine, name.trimmed().toStdString());
}

bool HistoryWindow::exportCsv(const QString& file) const {
  const std::vector<HistoryRow> oldestFirst(shown_.rbegin(), shown_.rend());
  const std::string csv = std::string(kUtf8ByteOrderMark) + historyCsv(oldestFirst);
  return writeWholeFile(file, QByteArray(csv.data(), static_cast<qsizetype>(csv.size())));
}

void HistoryWindow::chooseCsvFile() {
  saveThroughDialog(this,
                    {QStringLiteral("导出比赛历史"), QStringLiteral("比赛历史.csv"), QStringLiteral("CSV 文件 (*.csv)"),
                     windowTitle()},
                    [this](const QString& file) { return exportCsv(file); });
}

}  // namespace qiru::app
