// A whole short match in the window, played by two bots in real time: the
// program ends by itself with status 0 after printing the result; when the
// match cannot start it says why and ends with status 1.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct Finished {
  bool ended;
  int status;
  QString out, err;
};

// Runs qiru-pk --autoplay with `arguments`, its runtime and settings folders
// in `home`, offscreen.
Finished autoplay(const QTemporaryDir& home, const QStringList& arguments, int waitMs) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  QProcess program;
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(QIRU_PK_PATH), QStringList{QStringLiteral("--autoplay")} + arguments);
  const bool ended = program.waitForFinished(waitMs);
  if (!ended) {
    program.kill();
    program.waitForFinished();
  }
  return {ended, program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
          QString::fromUtf8(program.readAllStandardError())};
}

const QString kSingleSyllables = QString::fromUtf8(QIRU_SOURCE_DIR "/data/比赛题库/1.基础/单音节.txt");

TEST(AutoplayTest, TwoBotsPlayARaceToTheResult) {
  QTemporaryDir home;
  const QString screenshot = home.path() + QStringLiteral("/result.png");
  const Finished run = autoplay(home,
                                {QStringLiteral("--bank"), home.path() + QStringLiteral("/bank"), QStringLiteral("--material"),
                                 kSingleSyllables, QStringLiteral("--mode"), QStringLiteral("1"), QStringLiteral("--entries"),
                                 QStringLiteral("20"), QStringLiteral("--red"), QStringLiteral("cpm=900"),
                                 QStringLiteral("--blue"), QStringLiteral("cpm=300,errors=0.1"),
                                 QStringLiteral("--screenshot"), screenshot},
                                60000);
  ASSERT_TRUE(run.ended) << "the match did not end within a minute";
  EXPECT_EQ(run.status, 0) << run.err.toStdString();
  EXPECT_TRUE(run.out.contains(QStringLiteral("标签_结果=本局红方获胜！"))) << run.out.toStdString();
  EXPECT_TRUE(run.out.contains(QStringLiteral("标签_红方成绩=20"))) << "the faster bot keys all 20 entries";
  EXPECT_TRUE(QFile::exists(screenshot));
}

TEST(AutoplayTest, AMatchThatCannotStartIsExplained) {
  QTemporaryDir home;
  const QString root = home.path();
  QDir().mkpath(root + QStringLiteral("/empty"));
  QDir().mkpath(root + QStringLiteral("/broken"));
  QDir().mkpath(root + QStringLiteral("/folder.txt"));
  QFile broken(root + QStringLiteral("/broken/坏.txt"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("one\tA:\r\ntwo\tH:\r\n");
  broken.close();
  QFile notAFolder(root + QStringLiteral("/bank-file"));
  ASSERT_TRUE(notAFolder.open(QIODevice::WriteOnly));
  notAFolder.close();
  const struct {
    QStringList arguments;
    QString saying;
  } cases[] = {
      {{QStringLiteral("--bank"), root + QStringLiteral("/empty")}, QStringLiteral("holds no material")},
      {{QStringLiteral("--bank"), root + QStringLiteral("/nothing-here")}, QStringLiteral("holds no material")},
      {{QStringLiteral("--bank"), root + QStringLiteral("/bank-file")}, QStringLiteral("is no folder")},
      {{QStringLiteral("--bank"), root + QStringLiteral("/broken")}, QStringLiteral("指定比赛素材合法条目低于5条！")},
      {{QStringLiteral("--bank"), root + QStringLiteral("/empty"), QStringLiteral("--material"),
        root + QStringLiteral("/missing.txt")},
       QStringLiteral("无法读取比赛素材文件")},
      {{QStringLiteral("--bank"), root + QStringLiteral("/empty"), QStringLiteral("--material"),
        root + QStringLiteral("/folder.txt")},
       QStringLiteral("无法读取比赛素材文件")},
  };
  for (const auto& c : cases) {
    const Finished run = autoplay(home, c.arguments, 20000);
    ASSERT_TRUE(run.ended) << "waited for ever: " << c.arguments.join(' ').toStdString();
    EXPECT_EQ(run.status, 1) << c.arguments.join(' ').toStdString();
    EXPECT_TRUE(run.err.contains(c.saying)) << run.err.toStdString();
  }
}

}  // namespace
