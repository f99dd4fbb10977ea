#include "app/keyboard_machine.h"

#include <QEvent>
#include <QKeyEvent>

#include "app/keyboard_layout.h"

namespace qiru::app {

KeyboardMachine::KeyboardMachine(VirtualCh375& library, int deviceIndex, Clock& clock, QWidget* window,
                                 std::function<void()> showLayout)
    : library_(library), deviceIndex_(deviceIndex), clock_(clock), window_(window), showLayout_(std::move(showLayout)) {}

bool KeyboardMachine::eventFilter(QObject* target, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      auto* widget = qobject_cast<QWidget*>(target);
      if (widget == nullptr || window_ == nullptr || widget->window() != window_) return false;
      return onKey(event, event->type() == QEvent::KeyPress);
    }
    case QEvent::WindowDeactivate:
      if (target == window_) letGoOfAll();
      return false;
    default:
      return false;
  }
}

bool KeyboardMachine::onKey(QEvent* event, bool down) {
  auto* key = static_cast<QKeyEvent*>(event);
  if (down && key->key() == Qt::Key_F1) {
    if (showLayout_) showLayout_();
    return true;
  }
  // Keys that go with Ctrl or Alt are the window's own (shortcuts).
  if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
  const std::optional<MachineKey> machineKey = machineKeyOf(key->key());
  if (!machineKey) return false;
  if (key->isAutoRepeat()) return true;
  const PressedKeys before = held_;
  pressKey(held_, *machineKey, down);
  if (before.left != held_.left || before.right != held_.right) send();
  return true;
}

void KeyboardMachine::letGoOfAll() {
  if (held_.left == 0 && held_.right == 0) return;
  held_ = {};
  send();
}

void KeyboardMachine::send() { library_.sendKeys(deviceIndex_, clock_.nowMs(), held_); }

}  // namespace qiru::app
