#include "app/results_report.h"

#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>
#include <vector>

#include "app/save_file.h"
#include "history/history_listing.h"
#include "support/date_time_format.h"

namespace qiru::app {
namespace {

const QColor kRedColour(0xD0, 0x20, 0x20);
const QColor kBlueColour(0x20, 0x40, 0xC0);

QString fromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString seconds(std::int64_t ms) { return QString::number(static_cast<double>(ms) / 1000.0, 'f', 1); }

// One measure's row: its name and each side's value.
struct MeasureRow {
  QString name;
  QString values[2];
};

std::vector<MeasureRow> measureRows(const SideMeasures (&sides)[2]) {
  std::vector<MeasureRow> rows;
  const auto add = [&rows, &sides](const QString& name, auto value) {
    rows.push_back({name, {value(sides[0]), value(sides[1])}});
  };
  add(QStringLiteral("得分"), [](const SideMeasures& m) { return QString::number(m.score); });
  add(QStringLiteral("速度（字/分）"), [](const SideMeasures& m) { return QString::number(m.charsPerMinute, 'f', 1); });
  add(QStringLiteral("击键（击/分）"), [](const SideMeasures& m) { return QString::number(m.chordsPerMinute, 'f', 1); });
  add(QStringLiteral("正确率"), [](const SideMeasures& m) { return QString::number(m.accuracyPercent, 'f', 1) + "%"; });
  add(QStringLiteral("完成条目"), [](const SideMeasures& m) { return QString::number(m.entries); });
  add(QStringLiteral("完成字数"), [](const SideMeasures& m) { return QString::number(m.characters); });
  add(QStringLiteral("击键次数"), [](const SideMeasures& m) { return QString::number(m.chords); });
  add(QStringLiteral("错误击键"), [](const SideMeasures& m) { return QString::number(m.wrongChords); });
  add(QStringLiteral("超时条目"), [](const SideMeasures& m) { return QString::number(m.timedOut); });
  add(QStringLiteral("用时（秒）"), [](const SideMeasures& m) { return seconds(m.playingMs); });
  add(QStringLiteral("答题用时中位数（秒）"), [](const SideMeasures& m) { return seconds(m.medianAnswerMs); });
  return rows;
}

// A row of an entries table: side, entry text, code, and a note.
struct EntryRow {
  std::int32_t side;
  QString text;
  QString code;
  QString note;
};

std::vector<EntryRow> slowestRows(const SideMeasures (&sides)[2]) {
  std::vector<EntryRow> rows;
  for (const SideMeasures& m : sides) {
    for (const EntryTime& e : m.slowest) {
      rows.push_back({m.side, fromUtf8(e.text), fromUtf8(e.code), seconds(e.answerMs) + QStringLiteral(" 秒")});
    }
  }
  return rows;
}

std::vector<EntryRow> missedRows(const SideMeasures (&sides)[2]) {
  std::vector<EntryRow> rows;
  for (const SideMeasures& m : sides) {
    for (const MissedEntry& e : m.missed) {
      rows.push_back({m.side, fromUtf8(e.text), fromUtf8(e.code), e.timedOut ? QStringLiteral("超时") : QStringLiteral("被对方抢答")});
    }
  }
  return rows;
}

QTableWidget* tableOf(const QStringList& headings, const std::vector<QStringList>& rows, QWidget* parent) {
  auto* table = new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(headings.size()), parent);
  table->setHorizontalHeaderLabels(headings);
  table->verticalHeader()->setVisible(false);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    for (int c = 0; c < rows[static_cast<std::size_t>(r)].size(); ++c) {
      table->setItem(r, c, new QTableWidgetItem(rows[static_cast<std::size_t>(r)][c]));
    }
  }
  return table;
}

std::vector<QStringList> entryTableRows(const std::vector<EntryRow>& rows) {
  std::vector<QStringList> table;
  for (const EntryRow& row : rows) table.push_back({fromUtf8(sideTitle(row.side)), row.text, row.code, row.note});
  return table;
}

QString htmlTable(const QStringList& headings, const std::vector<QStringList>& rows) {
  QString html = "<table><tr>";
  for (const QString& h : headings) html += "<th>" + h.toHtmlEscaped() + "</th>";
  html += "</tr>";
  for (const QStringList& row : rows) {
    html += "<tr>";
    for (const QString& cell : row) html += "<td>" + cell.toHtmlEscaped() + "</td>";
    html += "</tr>";
  }
  return html + "</table>";
}

constexpr qreal kSpeedMarkerPx = 8;

const QStringList kEntryHeadings = {QStringLiteral("方"), QStringLiteral("条目"), QStringLiteral("编码"), QStringLiteral("说明")};

}  // namespace

QString sideHeading(std::int32_t side, std::int32_t machine, const std::map<std::int32_t, std::string>& names) {
  QString heading = fromUtf8(sideTitle(side)) + "  " + QString::number(machine);
  if (const auto name = names.find(machine); name != names.end()) heading += " " + fromUtf8(name->second);
  return heading;
}

ResultsReport::ResultsReport(const PlayedRound& round, const std::map<std::int32_t, std::string>& names,
                             QWidget* parent)
    : QDialog(parent), round_(round) {
  setObjectName(QStringLiteral("resultsReport"));
  setWindowTitle(QStringLiteral("成绩详情"));
  for (int s = 0; s < 2; ++s) {
    sides_[s] = measureSide(round_, s + 1);
    titles_[s] = sideHeading(s + 1, sides_[s].machine, names);
  }
  auto* layout = new QVBoxLayout(this);
  const QString when = fromUtf8(formatDateTime(localTimeAt(round_.start.startedAtMs)));
  auto* heading = new QLabel(fromUtf8(modeTitle(round_.start.settings.mode)) + QStringLiteral("  第") +
                                 QString::number(round_.start.settings.memberNumber) + QStringLiteral("局  ") + when +
                                 (round_.result.stopped ? QStringLiteral("  （中止）") : QString()),
                             this);
  layout->addWidget(heading);

  std::vector<QStringList> measures;
  for (const MeasureRow& row : measureRows(sides_)) measures.push_back({row.name, row.values[0], row.values[1]});
  auto* top = new QHBoxLayout;
  auto* measureTable = tableOf({QStringLiteral("成绩"), titles_[0], titles_[1]}, measures, this);
  measureTable->setObjectName(QStringLiteral("measures"));
  measureTable->setMinimumWidth(360);
  top->addWidget(measureTable, 2);

  auto* chart = new QChart;
  chart->setTitle(QStringLiteral("速度变化（字/分，每10秒）"));
  auto* xAxis = new QValueAxis;
  xAxis->setTitleText(QStringLiteral("秒"));
  xAxis->setLabelFormat("%d");
  auto* yAxis = new QValueAxis;
  yAxis->setTitleText(QStringLiteral("字/分"));
  yAxis->setLabelFormat("%d");
  chart->addAxis(xAxis, Qt::AlignBottom);
  chart->addAxis(yAxis, Qt::AlignLeft);
  double highest = 10;
  double longest = 10;
  for (int s = 0; s < 2; ++s) {
    auto* series = new QLineSeries;
    series->setName(titles_[s]);
    series->setColor(s == 0 ? kRedColour : kBlueColour);
    series->setPointsVisible(true);
    // A short round has a single step: a point large enough to be seen.
    series->setMarkerSize(kSpeedMarkerPx);
    for (std::size_t step = 0; step < sides_[s].speedSteps.size(); ++step) {
      const double x = static_cast<double>(step + 1) * static_cast<double>(kSpeedStepMs) / 1000.0;
      series->append(x, sides_[s].speedSteps[step]);
      highest = std::max(highest, sides_[s].speedSteps[step]);
      longest = std::max(longest, x);
    }
    chart->addSeries(series);
    series->attachAxis(xAxis);
    series->attachAxis(yAxis);
  }
  // The last step's point lies inside the plot, not on its edge.
  xAxis->setRange(0, longest * 1.05);
  xAxis->applyNiceNumbers();
  yAxis->setRange(0, highest * 1.1);
  yAxis->applyNiceNumbers();
  chart_ = new QChartView(chart, this);
  chart_->setObjectName(QStringLiteral("speedChart"));
  chart_->setRenderHint(QPainter::Antialiasing);
  chart_->setMinimumSize(480, 300);
  top->addWidget(chart_, 3);
  layout->addLayout(top);

  auto* lists = new QHBoxLayout;
  auto* slowestBox = new QVBoxLayout;
  slowestBox->addWidget(new QLabel(QStringLiteral("最慢的条目"), this));
  slowestBox->addWidget(tableOf(kEntryHeadings, entryTableRows(slowestRows(sides_)), this));
  auto* missedBox = new QVBoxLayout;
  missedBox->addWidget(new QLabel(QStringLiteral("未完成的条目（请对照编码练习）"), this));
  missedBox->addWidget(tableOf(kEntryHeadings, entryTableRows(missedRows(sides_)), this));
  lists->addLayout(slowestBox);
  lists->addLayout(missedBox);
  layout->addLayout(lists);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* close = buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole);
  close->setObjectName(QStringLiteral("close"));
  QPushButton* picture = buttons->addButton(QStringLiteral("保存图片…"), QDialogButtonBox::ActionRole);
  QPushButton* page = buttons->addButton(QStringLiteral("保存网页…"), QDialogButtonBox::ActionRole);
  connect(picture, &QPushButton::clicked, this, &ResultsReport::choosePictureFile);
  connect(page, &QPushButton::clicked, this, &ResultsReport::chooseHtmlFile);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  layout->addWidget(buttons);
  resize(1000, 720);
}

QString ResultsReport::html() const {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  chart_->grab().save(&buffer, "PNG");
  std::vector<QStringList> measures;
  for (const MeasureRow& row : measureRows(sides_)) measures.push_back({row.name, row.values[0], row.values[1]});
  return QStringLiteral("<!DOCTYPE html><html lang=\"zh-CN\"><head><meta charset=\"utf-8\"><title>成绩详情</title>"
                        "<style>body{font-family:sans-serif}table{border-collapse:collapse;margin:8px 0}"
                        "td,th{border:1px solid #999;padding:2px 8px}</style></head><body><h1>成绩详情</h1><p>") +
         fromUtf8(modeTitle(round_.start.settings.mode)).toHtmlEscaped() + " " +
         fromUtf8(formatDateTime(localTimeAt(round_.start.startedAtMs))).toHtmlEscaped() + "</p>" +
         htmlTable({QStringLiteral("成绩"), titles_[0], titles_[1]}, measures) +
         "<p><img alt=\"速度变化\" src=\"data:image/png;base64," + QString::fromLatin1(png.toBase64()) + "\"></p>" +
         QStringLiteral("<h2>最慢的条目</h2>") + htmlTable(kEntryHeadings, entryTableRows(slowestRows(sides_))) +
         QStringLiteral("<h2>未完成的条目</h2>") + htmlTable(kEntryHeadings, entryTableRows(missedRows(sides_))) +
         "</body></html>\n";
}

bool ResultsReport::savePicture(const QString& file) { return grab().save(file, "PNG"); }

bool ResultsReport::saveHtml(const QString& file) const { return writeWholeFile(file, html().toUtf8()); }

void ResultsReport::choosePictureFile() {
  saveThroughDialog(this,
                    {QStringLiteral("保存成绩图片"), QStringLiteral("成绩详情.png"), QStringLiteral("PNG 图片 (*.png)"),
                     windowTitle()},
                    [this](const QString& file) { return savePicture(file); });
}

void ResultsReport::chooseHtmlFile() {
  saveThroughDialog(this,
                    {QStringLiteral("保存成绩网页"), QStringLiteral("成绩详情.html"), QStringLiteral("网页 (*.html)"),
                     windowTitle()},
                    [this](const QString& file) { return saveHtml(file); });
}

}  // namespace qiru::app
