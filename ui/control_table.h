#pragma once
// The main window as it is created: every control with its kind, parent,
// tab page, geometry, initial visibility, initial text and appearance, in
// creation order. The control model starts from this table and the Qt
// renderer builds one widget per row.

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "ui/appearance.h"
#include "ui/control.h"
#include "ui/control_kind.h"
#include "ui/geometry.h"

namespace qiru::ui {

struct Look {
  Colour textColour = kSystemColour;
  Colour background = kSystemColour;
  Font font;
  Alignment alignment = Alignment::Left;
};

// How an edit box takes text.
struct EditStyle {
  bool multiLine = false;
  bool readOnly = false;
  bool verticalScrollBar = false;
  friend bool operator==(const EditStyle&, const EditStyle&) = default;
};

struct ControlSpec {
  Control control;
  std::string_view name;
  ControlKind kind;
  std::optional<Control> parent;  // none for the window itself
  std::string_view page;          // the parent tab control's page it sits on, if any
  Rect geometry;
  bool shown;
  std::string_view text;                // caption, or the edit box's initial text
  std::vector<std::string_view> pages = {};  // a tab control's page captions, in order
  Look look = {};
  EditStyle editStyle = {};
};

// Every control, in creation order: the row of a control is at indexOf(control).
std::span<const ControlSpec> controlTable();

const ControlSpec& specOf(Control control);
std::string_view controlName(Control control);
// The control of that exact name.
std::optional<Control> findControl(std::string_view name);

}  // namespace qiru::ui
