#pragma once
// The match options the user chose (mode tab, material, every count, the
// flash option), kept between runs in the same settings file as the
// window's place, so that a trainer need not set them up at every start.
// The command line's match options are applied after them and so win.

#include <string>

#include "app/command_line.h"
#include "app/program.h"
#include "ui/control_model.h"

namespace qiru::app {

// Fills the boxes from what was kept; a kept material that is no longer in
// the material box leaves the box's choice alone (the first material).
void restoreMatchOptions(ui::ControlModel& model, Program& program);
void rememberMatchOptions(const ui::ControlModel& model);

// The boxes at start: what was kept (not for bots playing on their own,
// whose matches are the command line's alone), then the command line's
// match options over them. False, with the reason, when a box refuses the
// command line's text.
bool setUpMatchOptions(ui::ControlModel& model, Program& program, const AppOptions& options, std::string& refused);
// At the end: the boxes as the user left them, for the next start.
void keepMatchOptions(const ui::ControlModel& model, const AppOptions& options);

}  // namespace qiru::app
