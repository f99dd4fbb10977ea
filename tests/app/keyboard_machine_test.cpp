// The program in its window: the PC keyboard plays machine 1 through the
// whole keystroke path (or, with USB machines, does not), and an imported
// material is listed and selected.

#include "app/keyboard_machine.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "device/machine_connection.h"
#include "device/virtual/chord_player.h"
#include "tests/app/program_window.h"

namespace qiru::app {
namespace {

using harness::ProgramWindow;
using harness::waitFor;

TEST(KeyboardMachineTest, AChordFromTheKeyboardReportsMachine1In) {
  ProgramWindow w;
  ui::ControlModel& model = w.model;
  ui::qt::MainWindow& window = w.window;
  window.show();
  QApplication::setActiveWindow(&window);
  ASSERT_EQ(model.text(ui::Control::标签_一号机在线), "红方");

  // A and S down together, then up: the chord FL: on machine 1.
  QTest::keyPress(&window, Qt::Key_A);
  QTest::keyPress(&window, Qt::Key_S);
  QTest::keyRelease(&window, Qt::Key_A);
  QTest::keyRelease(&window, Qt::Key_S);
  EXPECT_TRUE(waitFor([&] { return model.text(ui::Control::标签_一号机在线) == "红方：10001"; }))
      << model.text(ui::Control::标签_一号机在线);
  EXPECT_EQ(model.text(ui::Control::标签_二号机在线), "蓝方：" + std::to_string(kSimulatedMachineNumber))
      << "without machine 2 the match simulates it";
}

// USB machines (a virtual one standing in) play instead of the keyboard:
// their reports reach the match, and no keyboard machine is there.
TEST(KeyboardMachineTest, UsbMachinesPlayInsteadOfTheKeyboard) {
  auto usb = std::make_unique<VirtualCh375>(realClock());
  VirtualCh375& machines = *usb;
  machines.attach(0, std::make_shared<VirtualMachine>(12345, kVirtualSecondNumber));
  ProgramWindow w({MachineSource::Usb, std::move(usb), {}});
  ChordPlayer(machines, 0).play(realClock().nowMs() + 50, {.right = 0, .left = 1});
  EXPECT_TRUE(waitFor([&] { return w.model.text(ui::Control::标签_一号机在线) == "红方：12345"; }))
      << w.model.text(ui::Control::标签_一号机在线);
  EXPECT_TRUE(w.program.virtualMachines().openDevice(0) == kCh375InvalidHandle) << "no keyboard machine";
  w.program.stop();
  machines.shutdown();
}

TEST(KeyboardMachineTest, ImportedMaterialIsListedAndSelected) {
  ProgramWindow w;
  QTemporaryDir source;
  const std::filesystem::path chosen = source.path().toStdString() + "/Lesson1.txt";
  std::ofstream(chosen) << "\xE5\x85\xAB\tBA:\r\n";  // 八
  w.program.importChosen(chosen);
  const ui::ControlState box = w.model.state(ui::Control::组合框_素材);
  ASSERT_EQ(box.comboItems.size(), 1u);
  EXPECT_EQ(box.comboItems[0].text, "6.用户赛题-Lesson1");
  EXPECT_EQ(box.currentItem, 0);
  EXPECT_EQ(w.program.selectedMaterial(), w.program.bank().userFolder() / "Lesson1.txt");
}

}  // namespace
}  // namespace qiru::app
