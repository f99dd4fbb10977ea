// The results report and the history window on hand-made rounds, and the
// program keeping a whole match in the history file it was given.

#include <gtest/gtest.h>

#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "app/history_window.h"
#include "app/match_records.h"
#include "app/results_report.h"
#include "history/history_database.h"
#include "history/history_listing.h"
#include "tests/app/program_window.h"
#include "tests/history/round_builder.h"

namespace qiru::app {
namespace {

using testing::RoundBuilder;

PlayedRound quickRound() {
  return RoundBuilder(MatchMode::QuickAnswer, 3)
      .chord(1, 2000, ChordOutcome::Answered).taken(1, 1, "一<b>", 1, 0, 2000)
      .chord(2, 5000, ChordOutcome::Answered).taken(2, 2, "二", 1, 2000, 5000)
      .timedOut(1, 3, "三", 5000, 10'100)
      .ended(10'100, 1, 1)
      .round;
}

QString cell(QTableWidget* table, int row, int column) { return table->item(row, column)->text(); }

TEST(ResultsReport, ShowsBothSidesMeasuresAndSavesASelfContainedPage) {
  ResultsReport report(quickRound(), {{10001, "张三"}});
  auto* measures = report.findChild<QTableWidget*>(QStringLiteral("measures"));
  ASSERT_NE(measures, nullptr);
  EXPECT_EQ(measures->horizontalHeaderItem(1)->text(), QStringLiteral("红方  10001 张三"));
  EXPECT_EQ(measures->horizontalHeaderItem(2)->text(), QStringLiteral("蓝方  10002"));
  EXPECT_EQ(cell(measures, 0, 1), QStringLiteral("1"));             // score
  EXPECT_EQ(cell(measures, 1, 2), QStringLiteral("5.9"));           // 1 character in 10.1 s
  EXPECT_NE(report.findChild<QChartView*>(QStringLiteral("speedChart")), nullptr);

  const QString html = report.html();
  EXPECT_TRUE(html.contains(QStringLiteral("data:image/png;base64,")));
  EXPECT_TRUE(html.contains(QStringLiteral("一&lt;b&gt;"))) << "entry texts are escaped";
  EXPECT_TRUE(html.contains(QStringLiteral("被对方抢答")));
  EXPECT_FALSE(html.contains(QStringLiteral("src=\"http"))) << "nothing is fetched from elsewhere";

  QTemporaryDir folder;
  EXPECT_TRUE(report.saveHtml(folder.filePath(QStringLiteral("report.html"))));
  EXPECT_TRUE(report.savePicture(folder.filePath(QStringLiteral("report.png"))));
  EXPECT_GT(QFile(folder.filePath(QStringLiteral("report.png"))).size(), 1000);
  EXPECT_FALSE(report.saveHtml(folder.filePath(QStringLiteral("no such folder/report.html"))));
}

TEST(HistoryWindow, FiltersByMachineNamesMachinesAndExportsCsvWithAByteOrderMark) {
  QTemporaryDir folder;
  const std::filesystem::path file = folder.filePath(QStringLiteral("history.sqlite3")).toStdString();
  {
    HistoryDatabase db;
    ASSERT_EQ(db.open(file, HistoryDatabase::Access::Write), HistoryProblem::None);
    PlayedRound other = quickRound();
    other.start.machineNumbers = {10001, 20002};
    other.start.startedAtMs += 3'600'000;
    ASSERT_EQ(db.writeRound(quickRound(), ""), HistoryProblem::None);
    ASSERT_EQ(db.writeRound(other, ""), HistoryProblem::None);
    ASSERT_EQ(db.setMachineName(20002, "李四"), HistoryProblem::None);
  }
  HistoryWindow window(file, nullptr);
  EXPECT_EQ(window.shown().size(), 4u);
  EXPECT_EQ(window.shown().front().machine, 20002) << "newest first";
  auto* machines = window.findChild<QComboBox*>(QStringLiteral("machineFilter"));
  ASSERT_NE(machines, nullptr);
  EXPECT_NE(machines->findText(QStringLiteral("20002 = 李四")), -1);
  window.chooseMachine(10001);
  EXPECT_EQ(window.shown().size(), 2u);
  auto* table = window.findChild<QTableWidget*>(QStringLiteral("historyTable"));
  EXPECT_EQ(table->rowCount(), 2);

  const QString csvFile = folder.filePath(QStringLiteral("history.csv"));
  ASSERT_TRUE(window.exportCsv(csvFile));
  QFile csv(csvFile);
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  const QByteArray bytes = csv.readAll();
  EXPECT_TRUE(bytes.startsWith(QByteArray("\xEF\xBB\xBF") + QByteArray(kHistoryCsvHeader.data())));
  EXPECT_EQ(bytes.count("\r\n"), 3) << "the header and the two rows of machine 10001";
}

TEST(HistoryWindow, AMissingHistorySaysSoAndShowsNothing) {
  QTemporaryDir folder;
  HistoryWindow window(folder.filePath(QStringLiteral("none.sqlite3")).toStdString(), nullptr);
  EXPECT_TRUE(window.shown().empty());
  EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("none.sqlite3"))));
}

// The window's records as main() keeps them, with the names it shows.
struct RecordedWindow {
  explicit RecordedWindow(const std::filesystem::path& history)
      : records(w.window, w.program.engine(), history, w.messages,
                [this](const MachineNames& names) { w.program.nameMachines(names); }) {
    w.show();
  }
  QString redLabel() {
    w.settle();
    return w.widget<QLabel>(ui::Control::标签_一号机在线)->text();
  }
  // The keyboard's chord A+S reports machine 1 in.
  void reportIn() {
    QTest::keyPress(&w.window, Qt::Key_A);
    QTest::keyPress(&w.window, Qt::Key_S);
    QTest::keyRelease(&w.window, Qt::Key_A);
    QTest::keyRelease(&w.window, Qt::Key_S);
  }
  harness::ProgramWindow w;
  MatchRecords records;
};

TEST(MatchRecordsWindow, ANameGivenInTheHistoryShowsOnTheMachinesLabelFromThenOn) {
  QTemporaryDir folder;
  const std::filesystem::path file = folder.filePath(QStringLiteral("history.sqlite3")).toStdString();
  {
    HistoryDatabase db;
    ASSERT_EQ(db.open(file, HistoryDatabase::Access::Write), HistoryProblem::None);
    ASSERT_EQ(db.writeRound(quickRound(), ""), HistoryProblem::None);  // machines 10001 and 10002
  }
  {
    RecordedWindow first(file);
    first.reportIn();
    ASSERT_TRUE(harness::waitFor([&] { return first.redLabel() == QStringLiteral("红方：10001"); }))
        << first.redLabel().toStdString();

    // F2, the machine chosen, "命名…", a name typed into the box.
    QTest::keyClick(&first.w.window, Qt::Key_F2);
    HistoryWindow* history = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (auto* found = dynamic_cast<HistoryWindow*>(top); found != nullptr && found->isVisible()) history = found;
    }
    ASSERT_NE(history, nullptr) << "F2 opened no history";
    auto* machines = history->findChild<QComboBox*>(QStringLiteral("machineFilter"));
    machines->setCurrentIndex(machines->findData(10001));
    QTimer::singleShot(0, history, [] {
      auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr) << "no name box";
      box->setTextValue(QStringLiteral("张三"));
      QTest::keyClick(box, Qt::Key_Return);
    });
    QTest::mouseClick(history->findChild<QPushButton*>(QStringLiteral("nameMachine")), Qt::LeftButton);
    EXPECT_EQ(first.redLabel(), QStringLiteral("红方：10001 张三")) << "shown at once";
    EXPECT_EQ(first.w.widget<QLabel>(ui::Control::标签_二号机在线)->text(),
              QStringLiteral("蓝方：%1").arg(kSimulatedMachineNumber))
        << "a number without a name shows as ever";
    first.records.writer()->flush();
  }
  RecordedWindow next(file);
  next.reportIn();
  EXPECT_TRUE(harness::waitFor([&] { return next.redLabel() == QStringLiteral("红方：10001 张三"); }))
      << "at the next start too: " << next.redLabel().toStdString();
}

// The program itself: bots play a match in the window and the history file
// holds it with the scores the window announced.
TEST(MatchRecordsProgram, AnAutoplayMatchIsKeptInTheHistoryGiven) {
  QTemporaryDir home;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
  environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  const QString history = home.filePath(QStringLiteral("history.sqlite3"));
  QProcess program;
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(QIRU_PK_PATH),
                {QStringLiteral("--autoplay"), QStringLiteral("--bank"), home.filePath(QStringLiteral("bank")),
                 QStringLiteral("--material"),
                 QString::fromUtf8(QIRU_SOURCE_DIR "/data/比赛题库/1.基础/单音节.txt"), QStringLiteral("--mode"),
                 QStringLiteral("2"), QStringLiteral("--entries"), QStringLiteral("10"), QStringLiteral("--red"),
                 QStringLiteral("cpm=600"), QStringLiteral("--blue"), QStringLiteral("cpm=200"),
                 QStringLiteral("--history"), history});
  ASSERT_TRUE(program.waitForFinished(60000)) << "the match did not end within a minute";
  ASSERT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
  const QString out = QString::fromUtf8(program.readAllStandardOutput());
  HistoryDatabase db;
  ASSERT_EQ(db.open(history.toStdString(), HistoryDatabase::Access::Read), HistoryProblem::None);
  const std::vector<HistoryRow> rows = db.rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_TRUE(out.contains(QStringLiteral("标签_红方成绩=%1").arg(rows[0].score))) << out.toStdString();
  EXPECT_TRUE(out.contains(QStringLiteral("标签_蓝方成绩=%1").arg(rows[1].score))) << out.toStdString();
  EXPECT_EQ(rows[0].mode, MatchMode::QuickAnswer);
  EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral("qiru-pk/history.sqlite3")))) << "only the file given";
}

}  // namespace
}  // namespace qiru::app
