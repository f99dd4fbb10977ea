#pragma once
// What a question pane shows: a headline and, below it, a note.

#include <string>

#include "ui/control_model.h"

namespace qiru::ui {

// Replaces the pane's content by the headline and a line break in the banner
// format, then the note, if any, in the subtitle format.
void showTwoLines(ControlModel& model, Control pane, const std::string& headline, const std::string& note);

}  // namespace qiru::ui
