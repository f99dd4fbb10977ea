#pragma once
// Machine 1 played from the PC keyboard: while the main window is active,
// the keys of the layout (keyboard_layout.h) go to a virtual machine on the
// virtual CH375 library, one report per change of the keys held, exactly as
// the hardware sends them. The keys stay out of the window's controls. When
// the window loses the keyboard, every held key is let go, so that no chord
// hangs. F1 shows the layout.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "device/report_layout.h"
#include "device/virtual/virtual_ch375.h"
#include "support/clock.h"

namespace qiru::app {

class KeyboardMachine final : public QObject {
 public:
  KeyboardMachine(VirtualCh375& library, int deviceIndex, Clock& clock, QWidget* window,
                  std::function<void()> showLayout);

  PressedKeys held() const { return held_; }

 protected:
  bool eventFilter(QObject* target, QEvent* event) override;

 private:
  bool onKey(QEvent* event, bool down);
  void letGoOfAll();
  void send();

  VirtualCh375& library_;
  const int deviceIndex_;
  Clock& clock_;
  QPointer<QWidget> window_;
  std::function<void()> showLayout_;
  PressedKeys held_;
};

}  // namespace qiru::app
