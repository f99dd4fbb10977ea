// One program per session: a second start ends at once and brings the
// running window forward.

#include "app/single_instance.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace qiru::app {
namespace {

QProcessEnvironment environmentWith(const QTemporaryDir& runtime, const QTemporaryDir& home) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
  environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  return environment;
}

bool waitUntil(const std::function<bool()>& ready, int ms) {
  QElapsedTimer timer;
  timer.start();
  while (!ready()) {
    if (timer.elapsed() > ms) return false;
    QThread::msleep(20);
  }
  return true;
}

// Two real programs: the first keeps running, the second ends with status
// 0 after the first has answered its request to raise the window.
TEST(SingleInstanceTest, SecondStartEndsAndTheFirstRaisesItsWindow) {
  QTemporaryDir runtime;
  QTemporaryDir home;
  const QString bank = home.path() + QStringLiteral("/bank");
  QProcess first;
  first.setProcessEnvironment(environmentWith(runtime, home));
  first.start(QStringLiteral(QIRU_PK_PATH), {QStringLiteral("--bank"), bank});
  ASSERT_TRUE(first.waitForStarted());
  SingleInstance probe(runtime.path());
  ASSERT_TRUE(waitUntil([&] { return QFileInfo::exists(probe.socketPath()); }, 10000))
      << "the first program did not start listening";

  QProcess second;
  second.setProcessEnvironment(environmentWith(runtime, home));
  QElapsedTimer took;
  took.start();
  second.start(QStringLiteral(QIRU_PK_PATH), {QStringLiteral("--bank"), bank});
  ASSERT_TRUE(second.waitForFinished(5000)) << "the second start did not end";
  EXPECT_LT(took.elapsed(), 5000) << "it waited for a box: the first did not answer";
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(first.state(), QProcess::Running);

  first.terminate();
  first.waitForFinished(5000);
}

// The lock goes with its holder; until then a second claim fails, and a
// holder that does not serve does not answer.
TEST(SingleInstanceTest, LockGoesWithItsHolder) {
  QTemporaryDir runtime;
  {
    SingleInstance first(runtime.path());
    ASSERT_TRUE(first.claim());
    SingleInstance second(runtime.path());
    EXPECT_FALSE(second.claim());
    EXPECT_FALSE(second.askRunningToRaise(200)) << "the first does not serve yet";
  }
  SingleInstance next(runtime.path());
  EXPECT_TRUE(next.claim());
}

}  // namespace
}  // namespace qiru::app

// The window tests of this program need a QApplication (offscreen).
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
