#pragma once

namespace qiru::ui {

enum class ControlKind {
  Window,        // the main window
  Label,         // static text with colours and font
  EditBox,       // single- or multi-line text input
  ShapeBox,      // a framed container, shown or hidden with its children
  Button,
  CheckBox,
  ComboBox,      // drop-down list of the material names
  TabControl,    // pages that show their own children
  CommonDialog,  // the file-open dialog of the material import
  Timer,         // the match clock; ticks while its period is above 0
  StatusBar,     // two panes, one per side, docked at the window's bottom
  RichEditBox,   // formatted display of the question text
};

}  // namespace qiru::ui
