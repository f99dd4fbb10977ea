// A person at the keyboard plays machine 1 against a bot, with nothing but
// the window and its keys: any key reports in, "," (right I) starts, the
// bot reports in, plays and wins, A with "," (EN) confirms, and the next
// round starts the same way. The results come out on standard output; what
// the screen shows is read from screenshots.

#include <gtest/gtest.h>

#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QString>
#include <QStringList>

#include "history/history_database.h"
#include "ui/appearance.h"
#include "ui/qt/qt_conversions.h"
#include "tests/e2e/display_session.h"

namespace qiru::e2e {
namespace {

const QString kBlueWins = QStringLiteral("标签_结果=本局蓝方获胜！");
// The whole check of one round, from the report-in key to the result.
constexpr int kRoundDeadlineMs = 20000;
// How long a start key gets before it is struck again: the bot's report-in
// may not have got through when the first came.
constexpr int kStartKeyPatienceMs = 2500;

// The caption of the question before a round is stopped.
const QString kStopCaption = QStringLiteral("提示");
constexpr int kBoxWaitMs = 5000;
constexpr int kNoBoxWaitMs = 1000;
// A program asked to close ends within this.
constexpr int kExitWaitMs = 10000;

QString material() { return QString::fromUtf8(QIRU_SOURCE_DIR "/data/比赛题库/1.基础/单音节.txt"); }

// A race to finish of `entries` entries against a bot of `chordsPerMinute`,
// the results on standard output.
QStringList raceAgainstBot(int chordsPerMinute, int entries) {
  return {QStringLiteral("--opponent"), QStringLiteral("cpm=%1").arg(chordsPerMinute),
          QStringLiteral("--print-results"), QStringLiteral("--mode"), QStringLiteral("1"),
          QStringLiteral("--entries"), QString::number(entries), QStringLiteral("--material"), material()};
}

// Strikes "," until the output holds `text` `times` times (a start key
// struck while the match waits for machine 2 only asks for it again).
bool startUntil(DisplaySession& session, const QString& text, int times) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < kRoundDeadlineMs) {
    session.tapKey(QStringLiteral("comma"));
    if (session.waitForOutput(text, times, kStartKeyPatienceMs)) return true;
  }
  return false;
}

bool startAndAwaitResult(DisplaySession& session, int results) { return startUntil(session, kBlueWins, results); }

// The bot's first key record line of a round, and the player's.
const QString kBotsFirstKey = QStringLiteral("2\t1 ");
const QString kPlayersFirstKey = QStringLiteral("1\t1 ");

// How many pixels of the screen have exactly this colour.
int pixelsOf(const QString& screenFile, const QColor& colour) {
  const QImage screen = QImage(screenFile).convertToFormat(QImage::Format_RGB32);
  const QRgb wanted = colour.rgb();
  int count = 0;
  for (int y = 0; y < screen.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(screen.constScanLine(y));
    for (int x = 0; x < screen.width(); ++x) count += line[x] == wanted ? 1 : 0;
  }
  return count;
}

class KeyboardMatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!displayToolsPresent()) GTEST_SKIP() << "Xvfb and xdotool are needed (scripts/setup-debian.sh)";
    ASSERT_TRUE(session.started()) << "Xvfb did not start";
  }
  void TearDown() override {
    if (HasFailure()) session.saveScreen(QStringLiteral("window_e2e_failure.png"));
  }
  DisplaySession session;
};

TEST_F(KeyboardMatchTest, APersonAtTheKeyboardPlaysABotRoundAfterRound) {
  ASSERT_TRUE(session.startProgram(raceAgainstBot(600, 5)))
      << "no window";
  session.tapKey(QStringLiteral("a"));  // reports machine 1 in
  ASSERT_TRUE(startAndAwaitResult(session, 1)) << session.output().toStdString();
  const QString first = session.output();
  EXPECT_TRUE(first.contains(QStringLiteral("标签_蓝方成绩=5"))) << first.toStdString();
  EXPECT_TRUE(first.contains(QStringLiteral("标签_红方成绩=0"))) << first.toStdString();
  EXPECT_TRUE(first.contains(QStringLiteral("2\t5 "))) << "the bot's fifth key record line\n" << first.toStdString();

  // EN (left F with right I: A and "," together) returns to idle; "," then
  // reports machine 1 in again and starts the next round.
  session.strikeChord({QStringLiteral("a"), QStringLiteral("comma")});
  ASSERT_TRUE(startAndAwaitResult(session, 2)) << session.output().toStdString();
}

TEST_F(KeyboardMatchTest, AWrongChordAtTheKeyboardIsMarkedRedOnTheScreen) {
  ASSERT_TRUE(session.startProgram(raceAgainstBot(30, 50)))
      << "no window";
  session.tapKey(QStringLiteral("a"));
  ASSERT_TRUE(startUntil(session, kBotsFirstKey, 1)) << "the round did not start\n" << session.output().toStdString();
  const QColor wrongGround = ui::qt::toQColor(ui::kWrongChordBackground);
  const QString before = session.homePath() + QStringLiteral("/before.png");
  session.saveScreen(before);
  ASSERT_EQ(pixelsOf(before, wrongGround), 0) << "red before any wrong chord";

  // Z alone is the left hand's B: no entry of the material is keyed so.
  session.tapKey(QStringLiteral("z"));
  ASSERT_TRUE(session.waitForOutput(kPlayersFirstKey, 1, kBoxWaitMs)) << session.output().toStdString();
  const QString after = session.homePath() + QStringLiteral("/after.png");
  session.saveScreen(after);
  // The input label's ground, at least a few rows of it.
  EXPECT_GT(pixelsOf(after, wrongGround), 200) << "no red input label";
  EXPECT_GT(pixelsOf(after, ui::qt::toQColor(ui::kWrongChordLineColour)), 0) << "no red key log line";
  EXPECT_TRUE(session.output().contains(QStringLiteral("1\t1 B: - B:"))) << "the record's text as ever\n"
                                                                          << session.output().toStdString();
}

TEST_F(KeyboardMatchTest, EscStopsARunningRoundWithTheScoresSoFar) {
  // A slow bot: the round would take minutes.
  ASSERT_TRUE(session.startProgram(raceAgainstBot(60, 50)))
      << "no window";
  // No round runs: Esc asks nothing.
  session.tapKey(QStringLiteral("Escape"));
  EXPECT_FALSE(session.answerBox(kStopCaption, QStringLiteral("Escape"), kNoBoxWaitMs)) << "asked with no round";

  session.tapKey(QStringLiteral("a"));
  ASSERT_TRUE(startUntil(session, kBotsFirstKey, 1)) << "the round did not start\n" << session.output().toStdString();

  session.tapKey(QStringLiteral("Escape"));
  ASSERT_TRUE(session.answerBox(kStopCaption, QStringLiteral("Return"), kBoxWaitMs)) << "no question";
  ASSERT_TRUE(session.waitForOutput(QStringLiteral("标签_中止="), 1, kBoxWaitMs)) << session.output().toStdString();
  const QString out = session.output();
  EXPECT_TRUE(out.contains(QStringLiteral("标签_结果=本局蓝方获胜！"))) << out.toStdString();
  EXPECT_TRUE(out.contains(QStringLiteral("标签_红方成绩=0"))) << out.toStdString();
  EXPECT_FALSE(out.contains(QStringLiteral("标签_蓝方成绩=50"))) << "the round ended early\n" << out.toStdString();

  // The next round starts as ever, and runs to its end unmarked.
  session.strikeChord({QStringLiteral("a"), QStringLiteral("comma")});
  ASSERT_TRUE(startUntil(session, kBotsFirstKey, 2)) << session.output().toStdString();
  EXPECT_EQ(session.output().count(QStringLiteral("标签_中止=")), 1);
}

TEST_F(KeyboardMatchTest, ClosingTheWindowDuringARoundAsksAndOnYesKeepsTheStoppedRound) {
  const QString history = session.homePath() + QStringLiteral("/rounds.sqlite3");
  ASSERT_TRUE(session.startProgram(raceAgainstBot(60, 50) << QStringLiteral("--history") << history))
      << "no window";
  session.tapKey(QStringLiteral("a"));
  ASSERT_TRUE(startUntil(session, kBotsFirstKey, 1)) << "the round did not start\n" << session.output().toStdString();

  // No: the round plays on, and the window stays.
  ASSERT_TRUE(session.requestClose());
  ASSERT_TRUE(session.answerBox(kStopCaption, QStringLiteral("Escape"), kBoxWaitMs)) << "closed without asking";
  EXPECT_TRUE(session.waitForOutput(QStringLiteral("2\t2 "), 1, kRoundDeadlineMs))
      << "the bot's next key\n" << session.output().toStdString();
  EXPECT_TRUE(session.running());
  EXPECT_FALSE(session.output().contains(QStringLiteral("标签_中止=")));

  // Yes: the round ends with the scores so far, is kept, and the program ends.
  ASSERT_TRUE(session.requestClose());
  ASSERT_TRUE(session.answerBox(kStopCaption, QStringLiteral("Return"), kBoxWaitMs)) << "closed without asking";
  ASSERT_TRUE(session.waitForExit(kExitWaitMs)) << "the program did not end";
  const QString out = session.output();
  EXPECT_TRUE(out.contains(QStringLiteral("标签_中止="))) << out.toStdString();
  EXPECT_TRUE(out.contains(kBlueWins)) << out.toStdString();

  HistoryDatabase database;
  ASSERT_EQ(database.open(history.toStdString(), HistoryDatabase::Access::Read), HistoryProblem::None);
  const std::vector<HistoryRow> rows = database.rows();
  ASSERT_EQ(rows.size(), 2u) << "one stopped round, both sides";
  EXPECT_TRUE(rows[0].stopped);
  EXPECT_EQ(rows[0].score, 0) << "red";
  EXPECT_TRUE(out.contains(QStringLiteral("标签_蓝方成绩=%1\n").arg(rows[1].score)))
      << "kept as shown: " << rows[1].score << "\n" << out.toStdString();
  EXPECT_LT(rows[1].score, 50);
}

}  // namespace
}  // namespace qiru::e2e
