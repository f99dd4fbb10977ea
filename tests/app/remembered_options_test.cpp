// What the window keeps between runs, tried as a person meets it: the mode
// tab, material, counts and flash option set in the shown window come back
// at the next start (a material gone from the bank falls back to the first;
// the command line's match options win), and the import dialog opens in the
// home folder, then in the folder of the last import.

#include "app/remembered_options.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>

#include "tests/app/program_window.h"

namespace qiru::app {
namespace {

using harness::ProgramWindow;
using harness::waitFor;
using ui::Control;

// A small bank of three materials, one entry each.
void writeBank(const std::filesystem::path& bank) {
  std::filesystem::create_directories(bank / "1.Basics");
  for (const char* name : {"Alpha.txt", "Beta.txt", "Gamma.txt"}) {
    std::ofstream(bank / "1.Basics" / name) << "\xB0\xCB\tBA:\r\n";  // 八, in GBK
  }
}

// Start-up and exit as the program runs them, around a shown window.
struct Session {
  explicit Session(const std::filesystem::path& bank, const AppOptions& options = {}) : w({}, bank), options(options) {
    EXPECT_TRUE(setUpMatchOptions(w.model, w.program, options, refused)) << refused;
    w.show();
  }
  ~Session() { keepMatchOptions(w.model, options); }

  QTabBar* modeTabs() { return w.widget(Control::选择夹_模式)->findChild<QTabBar*>(); }
  void chooseMode(MatchMode mode) {
    QTabBar* bar = modeTabs();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(static_cast<int>(mode)).center());
    w.settle();
  }
  // Selects the box's text and types over it.
  void typeInto(Control box, const QString& text) {
    auto* edit = w.widget<QLineEdit>(box);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
    w.settle();
  }
  QString boxText(Control box) { return w.widget<QLineEdit>(box)->text(); }
  QComboBox* materials() { return w.widget<QComboBox>(Control::组合框_素材); }

  ProgramWindow w;
  AppOptions options;
  std::string refused;
};

class RememberedOptions : public ::testing::Test {
 protected:
  void SetUp() override {
    // The settings file of this test alone.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    QSettings().clear();
    writeBank(bank);
  }
  QTemporaryDir settingsFolder;
  QTemporaryDir bankFolder;
  const std::filesystem::path bank = bankFolder.path().toStdString();
};

TEST_F(RememberedOptions, WhatThePersonSetComesBackAtTheNextStart) {
  QString thirdMaterial;
  {
    Session first(bank);
    ASSERT_EQ(first.materials()->count(), 3);
    const std::pair<MatchMode, std::pair<Control, QString>> typed[] = {
        {MatchMode::TimedRace, {Control::编辑框_限时, QStringLiteral("7")}},
        {MatchMode::RaceToFinish, {Control::编辑框_争先, QStringLiteral("120")}},
        {MatchMode::TeamRelay, {Control::编辑框_团队人数, QStringLiteral("4")}},
        {MatchMode::TeamRelay, {Control::编辑框_团队条数, QStringLiteral("30")}},
        {MatchMode::QuickAnswer, {Control::编辑框_抢答, QStringLiteral("35")}},
    };
    for (const auto& [mode, box] : typed) {
      first.chooseMode(mode);
      first.typeInto(box.first, box.second);
    }
    QTest::mouseClick(first.w.widget<QCheckBox>(Control::选择框_闪灭), Qt::LeftButton);
    first.typeInto(Control::编辑框_闪灭, QStringLiteral("3"));
    QComboBox* materials = first.materials();
    materials->setFocus();
    QTest::keyClick(materials, Qt::Key_Down);
    QTest::keyClick(materials, Qt::Key_Down);
    first.w.settle();
    ASSERT_EQ(materials->currentIndex(), 2);
    thirdMaterial = materials->currentText();
  }

  Session next(bank);
  EXPECT_EQ(next.modeTabs()->currentIndex(), static_cast<int>(MatchMode::QuickAnswer));
  EXPECT_EQ(next.boxText(Control::编辑框_限时), QStringLiteral("7"));
  EXPECT_EQ(next.boxText(Control::编辑框_争先), QStringLiteral("120"));
  EXPECT_EQ(next.boxText(Control::编辑框_抢答), QStringLiteral("35"));
  EXPECT_EQ(next.boxText(Control::编辑框_团队人数), QStringLiteral("4"));
  EXPECT_EQ(next.boxText(Control::编辑框_团队条数), QStringLiteral("30"));
  EXPECT_EQ(next.boxText(Control::编辑框_闪灭), QStringLiteral("3"));
  EXPECT_TRUE(next.w.widget<QCheckBox>(Control::选择框_闪灭)->isChecked());
  EXPECT_EQ(next.materials()->currentText(), thirdMaterial);
  EXPECT_EQ(next.w.program.selectedMaterial().filename(), "Gamma.txt") << "the match plays what the box shows";
}

TEST_F(RememberedOptions, AMaterialGoneFromTheBankFallsBackToTheFirst) {
  {
    Session first(bank);
    first.materials()->setFocus();
    QTest::keyClick(first.materials(), Qt::Key_End);
    first.w.settle();
    ASSERT_EQ(first.w.program.selectedMaterial().filename(), "Gamma.txt");
  }
  std::filesystem::remove(bank / "1.Basics" / "Gamma.txt");
  Session next(bank);
  EXPECT_EQ(next.materials()->currentIndex(), 0);
  EXPECT_EQ(next.w.program.selectedMaterial().filename(), "Alpha.txt");
}

TEST_F(RememberedOptions, TheCommandLinesMatchOptionsWin) {
  {
    Session first(bank);
    first.chooseMode(MatchMode::RaceToFinish);
    first.typeInto(Control::编辑框_争先, QStringLiteral("120"));
    first.typeInto(Control::编辑框_限时, QStringLiteral("9"));
  }
  {
    // --entries without --mode: the entries of the mode the window shows.
    AppOptions entriesOnly;
    entriesOnly.entries = "25";
    Session next(bank, entriesOnly);
    EXPECT_EQ(next.modeTabs()->currentIndex(), static_cast<int>(MatchMode::RaceToFinish));
    EXPECT_EQ(next.boxText(Control::编辑框_争先), QStringLiteral("25"));
  }
  AppOptions given;
  given.mode = MatchMode::QuickAnswer;
  given.entries = "40";
  given.minutes = "3";
  given.material = bank / "1.Basics" / "Beta.txt";
  Session last(bank, given);
  EXPECT_EQ(last.modeTabs()->currentIndex(), static_cast<int>(MatchMode::QuickAnswer));
  EXPECT_EQ(last.boxText(Control::编辑框_抢答), QStringLiteral("40"));
  EXPECT_EQ(last.boxText(Control::编辑框_限时), QStringLiteral("3"));
  EXPECT_EQ(last.w.program.selectedMaterial().filename(), "Beta.txt");
}

// Opens the import dialog with the window's button, notes the folder it
// shows, and picks `file` in it (or cancels when empty). The dialog reads
// its folder on a thread of its own: the pick is tried again until taken,
// and given up (cancelled) after a while, so that a fault fails, not hangs.
constexpr int kDialogPatienceMs = 10000;

QString importThroughDialog(ProgramWindow& w, const QString& file) {
  QString shown;
  QElapsedTimer waited;
  waited.start();
  auto* look = new QTimer(&w.window);
  QObject::connect(look, &QTimer::timeout, look, [&] {
    QFileDialog* dialog = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (auto* found = qobject_cast<QFileDialog*>(top); found != nullptr && found->isVisible()) dialog = found;
    }
    if (dialog == nullptr) return;
    if (shown.isEmpty()) shown = QDir(dialog->directory()).absolutePath();
    if (file.isEmpty() || waited.elapsed() > kDialogPatienceMs) {
      dialog->reject();
    } else {
      // The file's whole path typed into the name box, then Open.
      if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) name->setText(file);
      static_cast<QDialog*>(dialog)->accept();
    }
  });
  look->start(20);
  QTest::mouseClick(w.widget<QPushButton>(Control::按钮_选择), Qt::LeftButton);
  delete look;
  return shown;
}

TEST_F(RememberedOptions, TheImportDialogOpensAtHomeThenWhereTheLastImportCameFrom) {
  QTemporaryDir home;
  const QByteArray realHome = qgetenv("HOME");
  qputenv("HOME", home.path().toLocal8Bit());
  const QString source = home.path() + QStringLiteral("/lessons");
  QDir().mkpath(source);
  const QString lesson = source + QStringLiteral("/Lesson1.txt");
  std::ofstream(lesson.toStdString()) << "\xB0\xCB\tBA:\r\n";

  Session run(bank);
  EXPECT_EQ(importThroughDialog(run.w, lesson), QDir(home.path()).absolutePath()) << "the home folder first";
  EXPECT_TRUE(waitFor([&] { return run.materials()->currentText().endsWith(QStringLiteral("Lesson1")); }))
      << run.materials()->currentText().toStdString();
  EXPECT_EQ(importThroughDialog(run.w, {}), source) << "the folder of the last import";
  QDir(source).removeRecursively();
  EXPECT_EQ(importThroughDialog(run.w, {}), QDir(home.path()).absolutePath()) << "that folder is gone: home again";
  qputenv("HOME", realHome);
}

}  // namespace
}  // namespace qiru::app
