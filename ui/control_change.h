#pragma once
// One change of one control's property, as the control model passes it to
// its listener (the renderer). Changes arrive in the order they were made.

#include <functional>

#include "ui/control.h"
#include "ui/control_state.h"

namespace qiru::ui {

enum class Property {
  Geometry,
  Shown,
  Enabled,
  Text,
  TextColour,
  Background,
  Font,
  Alignment,
  Margins,
  RichText,
  CharFormat,
  ParagraphFormat,
  FormatInsets,
  ComboItems,
  CurrentItem,
  CurrentPage,
  StatusPanes,
  TimerPeriod,
  Checked,
  Framed,
  MinimumSize,
};

struct ControlChange {
  Control control;
  Property property;
  // The control's whole state after the change. Valid only during the call:
  // copy what you keep.
  const ControlState& state;
};

// Called with the model's lock held, on the thread that made the change, so
// that changes from several threads arrive in one order. It must return
// quickly and must not call the model.
using ChangeListener = std::function<void(const ControlChange&)>;

}  // namespace qiru::ui
