// A whole short match in the window, played by two bots in real time: the
// program ends by itself with status 0 after printing the result.

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

namespace {

TEST(AutoplayTest, TwoBotsPlayARaceToTheResult) {
  QTemporaryDir home;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  const QString screenshot = home.path() + QStringLiteral("/result.png");
  QProcess program;
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(QIRU_PK_PATH),
                {QStringLiteral("--autoplay"), QStringLiteral("--bank"), home.path() + QStringLiteral("/bank"),
                 QStringLiteral("--material"),
                 QString::fromUtf8(QIRU_SOURCE_DIR "/data/比赛题库/1.基础/单音节.txt"), QStringLiteral("--mode"),
                 QStringLiteral("1"), QStringLiteral("--entries"), QStringLiteral("20"), QStringLiteral("--red"),
                 QStringLiteral("cpm=900"), QStringLiteral("--blue"), QStringLiteral("cpm=300,errors=0.1"),
                 QStringLiteral("--screenshot"), screenshot});
  ASSERT_TRUE(program.waitForFinished(60000)) << "the match did not end within a minute";
  const QString out = QString::fromUtf8(program.readAllStandardOutput());
  EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
  EXPECT_TRUE(out.contains(QStringLiteral("标签_结果=本局红方获胜！"))) << out.toStdString();
  EXPECT_TRUE(out.contains(QStringLiteral("标签_红方成绩=20"))) << "the faster bot keys all 20 entries";
  EXPECT_TRUE(QFile::exists(screenshot));
}

}  // namespace
