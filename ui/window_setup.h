#pragma once
// The main window's set-up during start-up, after the window exists and
// before the question bank is scanned: its minimum size, the adjusted
// question frame, and the text formats of the question panes and key logs.

#include "ui/control_model.h"

namespace qiru::ui {

// Small enough for a laptop, large enough that the key logs show three
// lines and every tab of the mode tabs shows.
inline constexpr Size kMainWindowMinimumSize{770, 590};

void setUpMainWindow(ControlModel& model);

}  // namespace qiru::ui
