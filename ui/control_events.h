#pragma once
// The window events that reach the program's handlers.

#include <functional>

#include "ui/control.h"

namespace qiru::ui {

enum class EventKind {
  Created,             // the window exists: start-up proper
  SizeChanged,         // the window's size changed: the layout
  AboutToBeDestroyed,  // the window is closing: the reader threads stop
  TimerTick,           // the match clock ticked
  Clicked,             // a button was clicked
  SelectionChanged,    // the combo box's current item changed
  MouseWheel,          // argument: notches, positive when turned away from the user
  SpinButton,          // argument: +1 for the upper button, -1 for the lower
};

struct ControlEvent {
  Control control;
  EventKind kind;
  int argument = 0;
};

using EventHandler = std::function<void(const ControlEvent&)>;

// One wheel notch in the platform's delta units.
inline constexpr int kWheelDeltaPerNotch = 120;

}  // namespace qiru::ui
