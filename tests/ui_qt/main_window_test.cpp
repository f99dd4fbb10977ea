// The Qt window follows the control model: every control drawn as the
// table makes it, the layout after resizes, the minimum size, the option
// boxes' wheel and spin buttons, changes from other threads, and the
// result panel on top of a window that refuses input.

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>
#include <QTextBlock>
#include <QWheelEvent>
#include <thread>

// moc cannot read the controls' Chinese names; it needs none of these.
#ifndef Q_MOC_RUN
#include "support/match_types.h"
#include "ui/control_table.h"
#include "ui/main_window_layout.h"
#include "ui/option_boxes.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_conversions.h"
#include "ui/window_setup.h"
#endif

using namespace qiru;
using namespace qiru::ui;

namespace {

QString qname(Control control) { return qt::toQString(std::string(controlName(control))); }

QRect qrect(const Rect& r) { return {r.left, r.top, r.width, r.height}; }

// A window as start-up leaves it: set up, laid out on every resize, the
// option boxes stepping.
struct Window {
  Window() {
    setUpMainWindow(model);
    installOptionStepping(model);
    model.setHandler(Control::QiruPK, EventKind::SizeChanged,
                     [this](const ControlEvent&) { layOutMainWindow(model, MatchState::Idle, MatchMode::TimedRace); });
    window.show();
    settle();
  }
  void settle() {
    QCoreApplication::processEvents();
    window.applyPendingChanges();
  }
  QWidget* widget(Control control) { return window.findChild<QWidget*>(qname(control)); }

  ControlModel model;
  qt::MainWindow window{model};
};

// Turns the wheel over a box by `notches`.
void turnWheel(QWidget* box, int notches) {
  const QPointF at(box->width() / 2.0, box->height() / 2.0);
  QWheelEvent wheel(at, box->mapToGlobal(at), QPoint(), QPoint(0, notches * kWheelDeltaPerNotch), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(box, &wheel);
}

QAbstractButton* spinButton(QWidget* window, Control box, bool up) {
  auto* spin = window->findChild<QWidget*>(qname(box) + QStringLiteral(".spin"));
  const QList<QAbstractButton*> buttons = spin->findChildren<QAbstractButton*>();
  return buttons.at(up ? 0 : 1);
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // A fresh model, before start-up touches it: each widget has the table's
  // name, place, text and visibility.
  void everyControlAsTheTableMakesIt() {
    ControlModel model;
    qt::MainWindow window(model);
    window.show();
    QCoreApplication::processEvents();
    for (const ControlSpec& spec : controlTable()) {
      if (spec.kind == ControlKind::Window || spec.kind == ControlKind::Timer) continue;
      QWidget* widget = window.findChild<QWidget*>(qname(spec.control));
      QVERIFY2(widget != nullptr, qPrintable(qname(spec.control)));
      const ControlState state = model.state(spec.control);
      QCOMPARE(widget->geometry(), qrect(state.geometry));
      if (spec.kind != ControlKind::CommonDialog) QCOMPARE(widget->isVisibleTo(widget->parentWidget()), spec.shown);
      if (auto* label = qobject_cast<QLabel*>(widget)) QCOMPARE(label->text(), qt::withLineFeeds(std::string(spec.text)));
      if (auto* button = qobject_cast<QAbstractButton*>(widget)) QCOMPARE(button->text(), qt::toQString(std::string(spec.text)));
      if (auto* line = qobject_cast<QLineEdit*>(widget)) QCOMPARE(line->text(), qt::toQString(std::string(spec.text)));
    }
    QVERIFY(window.findChild<QObject*>(qname(Control::时钟1)) != nullptr);
    QCOMPARE(window.windowTitle(), qt::toQString(std::string(specOf(Control::QiruPK).text)));
  }

  // Controls on a tab page show only while their page is current.
  void tabPagesShowTheirOwnChildren() {
    Window w;
    QVERIFY(w.widget(Control::编辑框_限时)->isVisible());
    QVERIFY(!w.widget(Control::编辑框_团队人数)->isVisible());
    w.model.setCurrentPage(Control::选择夹_模式, 3);
    w.settle();
    QVERIFY(!w.widget(Control::编辑框_限时)->isVisible());
    QVERIFY(w.widget(Control::编辑框_团队人数)->isVisible());
    QVERIFY(w.widget(Control::编辑框_团队条数)->isVisible());
  }

  void layoutFollowsResizes_data() {
    QTest::addColumn<QSize>("client");
    QTest::newRow("start") << QSize(794, 671);
    QTest::newRow("wide") << QSize(1200, 800);
    QTest::newRow("smallest") << QSize(kMainWindowMinimumSize.width - kWindowFrameSize.width,
                                       kMainWindowMinimumSize.height - kWindowFrameSize.height);
  }
  void layoutFollowsResizes() {
    QFETCH(QSize, client);
    Window w;
    w.window.resize(client);
    w.settle();
    const int width = client.width() + kWindowFrameSize.width;
    const int height = client.height() + kWindowFrameSize.height;
    QCOMPARE(w.model.geometry(Control::QiruPK).width, width);
    QCOMPARE(w.model.geometry(Control::QiruPK).height, height);
    QCOMPARE(w.widget(Control::外形框_选项)->width(), width - 2 * 14 - 15);
    QVERIFY(w.widget(Control::选择夹_素材)->width() >= 350);
    QVERIFY(w.widget(Control::标签_一号机成绩)->height() >= 100);
    // Every mode tab shows whole, without scroll arrows.
    QWidget* modes = w.widget(Control::选择夹_模式);
    auto* bar = modes->findChild<QTabBar*>();
    QVERIFY(bar->sizeHint().width() <= modes->width());
    // The status bar docked at the client area's bottom.
    QCOMPARE(w.widget(Control::状态条1)->geometry().bottom(), client.height() - 1);
    for (const ControlSpec& spec : controlTable()) {
      if (spec.kind == ControlKind::Window || spec.kind == ControlKind::Timer) continue;
      QCOMPARE(w.widget(spec.control)->geometry(), qrect(w.model.geometry(spec.control)));
    }
  }

  void refusesToShrinkBelowTheMinimum() {
    Window w;
    QCOMPARE(w.window.minimumSize(), QSize(kMainWindowMinimumSize.width - kWindowFrameSize.width,
                                           kMainWindowMinimumSize.height - kWindowFrameSize.height));
    w.window.resize(600, 400);
    w.settle();
    QCOMPARE(w.window.size(), w.window.minimumSize());
    QCOMPARE(w.model.geometry(Control::QiruPK).width, kMainWindowMinimumSize.width);
    QCOMPARE(w.model.geometry(Control::QiruPK).height, kMainWindowMinimumSize.height);
  }

  void wheelAndSpinButtonsStepTheBoxes_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("result");
    QTest::newRow("wheel up wraps at 30") << "编辑框_限时" << "30" << "wheel+1" << "1";
    QTest::newRow("wheel down wraps at 2") << "编辑框_团队人数" << "2" << "wheel-1" << "10";
    QTest::newRow("two notches") << "编辑框_争先" << "50" << "wheel+2" << "52";
    QTest::newRow("spin stops at the limit") << "编辑框_限时" << "30" << "spin+1" << "30";
    QTest::newRow("spin steps by one") << "编辑框_抢答" << "50" << "spin-1" << "49";
    QTest::newRow("flash spin wraps up") << "编辑框_闪灭" << "5" << "spin+1" << "0.3";
    QTest::newRow("flash wheel wraps down") << "编辑框_闪灭" << "0.3" << "wheel-1" << "5";
  }
  void wheelAndSpinButtonsStepTheBoxes() {
    QFETCH(QString, box);
    QFETCH(QString, start);
    QFETCH(QString, how);
    QFETCH(QString, result);
    Window w;
    const Control control = *findControl(box.toStdString());
    w.model.setText(control, start.toStdString());
    w.settle();
    const int step = how.mid(how.size() - 2).toInt();
    if (how.startsWith(QStringLiteral("wheel"))) {
      turnWheel(w.widget(control), step);
    } else {
      QTest::mouseClick(spinButton(&w.window, control, step > 0), Qt::LeftButton);
    }
    w.settle();
    QCOMPARE(qt::toQString(w.model.text(control)), result);
    QCOMPARE(qobject_cast<QLineEdit*>(w.widget(control))->text(), result);
  }

  // Typing goes into the model; text the box does not take is put back.
  void typingIntoAnOptionBox() {
    Window w;
    auto* minutes = qobject_cast<QLineEdit*>(w.widget(Control::编辑框_限时));
    minutes->setFocus();
    minutes->selectAll();
    QTest::keyClicks(minutes, QStringLiteral("12"));
    QTest::keyClicks(minutes, QStringLiteral("x"));
    w.settle();
    QCOMPARE(w.model.text(Control::编辑框_限时), std::string("12"));
    QCOMPARE(minutes->text(), QStringLiteral("12"));
  }

  // Writes from other threads arrive on the GUI thread in the order made.
  void changesFromOtherThreadsKeepTheirOrder() {
    Window w;
    std::thread writer([&w] {
      for (int i = 0; i <= 500; ++i) w.model.setText(Control::标签_时间, std::to_string(i));
      w.model.setShown(Control::外形框_结果, true);
    });
    writer.join();
    w.settle();
    QCOMPARE(qobject_cast<QLabel*>(w.widget(Control::标签_时间))->text(), QStringLiteral("500"));
    QVERIFY(w.widget(Control::外形框_结果)->isVisible());
  }

  // The result panel covers what lies below it, and while the window is
  // disabled its controls refuse input but the window keeps the keyboard.
  void resultPanelOnTopOfADisabledWindow() {
    Window w;
    w.model.setShown(Control::外形框_结果, true);
    w.model.setEnabled(Control::QiruPK, false);
    w.settle();
    QWidget* result = w.widget(Control::外形框_结果);
    const QPoint centre = result->geometry().center();
    QWidget* top = result->parentWidget()->childAt(centre);
    QVERIFY(top == result || result->isAncestorOf(top));
    QVERIFY(!w.widget(Control::编辑框_限时)->isEnabled());
    QVERIFY(!w.widget(Control::按钮_选择)->isEnabled());
    QVERIFY(w.window.isEnabled());
  }

  void comboItemsAndSelectionGoBothWays() {
    Window w;
    w.model.setComboItems(Control::组合框_素材, {{"1.基础-单音节", 1}, {"2.进阶-词组", 2}});
    w.model.setCurrentItem(Control::组合框_素材, 0);
    int changes = 0;
    w.model.setHandler(Control::组合框_素材, EventKind::SelectionChanged, [&changes](const ControlEvent&) { ++changes; });
    w.settle();
    auto* combo = qobject_cast<QComboBox*>(w.widget(Control::组合框_素材));
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemData(1).toInt(), 2);
    combo->setCurrentIndex(1);
    w.settle();
    QCOMPARE(w.model.get(Control::组合框_素材, &ControlState::currentItem), 1);
    QCOMPARE(changes, 1);
  }

  // A marked key log line is drawn red; lines appended after it are not,
  // and a new text starts without marks.
  void markedKeyLogLinesAreRed() {
    Window w;
    w.model.setText(Control::编辑框_一号机按键, "红方按键记录：");
    w.model.appendText(Control::编辑框_一号机按键, "\r\n1 X: - X:", true);
    w.model.appendText(Control::编辑框_一号机按键, "\r\n2 A: - A:");
    w.settle();
    auto* log = qobject_cast<QPlainTextEdit*>(w.widget(Control::编辑框_一号机按键));
    const auto colourOfLine = [log](int line) {
      QTextCursor cursor(log->document()->findBlockByNumber(line));
      cursor.movePosition(QTextCursor::NextCharacter);
      return cursor.charFormat().foreground().color();
    };
    QCOMPARE(log->document()->blockCount(), 3);
    QCOMPARE(colourOfLine(1), qt::toQColor(kWrongChordLineColour));
    QVERIFY(colourOfLine(2) != qt::toQColor(kWrongChordLineColour));
    w.model.setText(Control::编辑框_一号机按键, "红方按键记录：\r\n1 X: - X:");
    w.settle();
    QVERIFY(colourOfLine(1) != qt::toQColor(kWrongChordLineColour));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
