#pragma once
// The main window's set-up during start-up, after the window exists and
// before the question bank is scanned: its minimum size, the adjusted
// question frame, and the text formats of the question panes and key logs.

#include "ui/control_model.h"

namespace qiru::ui {

inline constexpr Size kMainWindowMinimumSize{720, 500};

void setUpMainWindow(ControlModel& model);

}  // namespace qiru::ui
