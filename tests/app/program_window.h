#pragma once
// The program in its real window (offscreen, shown), as main() puts it
// together, for the tests that drive the window with Qt's key and mouse
// events: the control model, the main window, the program on a question
// bank (a fresh empty one unless given), and the machines.

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <functional>
#include <utility>

#include "app/program.h"
#include "support/headless_messages.h"
#include "ui/control_table.h"
#include "ui/qt/main_window.h"

namespace qiru::app::harness {

// Lets the window run until `ready` holds; false when it did not within a while.
inline bool waitFor(const std::function<bool()>& ready) {
  QElapsedTimer timer;
  timer.start();
  while (!ready() && timer.elapsed() < 5000) QTest::qWait(20);
  return ready();
}

struct ProgramWindow {
  explicit ProgramWindow(MachineBackend machines = {}, const std::filesystem::path& bankFolder = {})
      : program(model, window, messages, AppOptions{}, bankFolder.empty() ? std::filesystem::path(emptyBank.path().toStdString()) : bankFolder,
                std::move(machines)) {}
  // The widget of that control (its object name is the control's name).
  template <typename Widget = QWidget>
  Widget* widget(ui::Control control) {
    return window.findChild<Widget*>(QString::fromUtf8(std::string(ui::controlName(control)).c_str()));
  }
  // Shows the window with the model's state drawn, as a person sees it.
  void show() {
    window.applyPendingChanges();
    window.show();
    QApplication::setActiveWindow(&window);
    settle();
  }
  void settle() {
    QCoreApplication::processEvents();
    window.applyPendingChanges();
  }

  QTemporaryDir emptyBank;
  ui::ControlModel model;
  ui::qt::MainWindow window{model};
  HeadlessMessages messages;
  Program program;
};

}  // namespace qiru::app::harness
