#pragma once
// The numeric option boxes of the mode and material tabs: what text they
// take, their limits, and how they step. The spin buttons of the integer
// boxes step by 1 and stop at the limits; the mouse wheel, and the spin
// buttons of the flash-time box, step with wrap-around (past the upper limit
// to the lower one and back).

#include <optional>
#include <string>
#include <string_view>

#include "support/match_types.h"
#include "ui/control_model.h"

namespace qiru::ui {

struct OptionBox {
  Control box;
  int lower;     // limits in steps of the box
  int upper;
  bool tenths;   // decimal text in steps of 0.1 (the flash time); else integer
};

// The box's limits, or none when the control is no option box.
std::optional<OptionBox> findOptionBox(Control control);

// Whether the user may type this text into the box: digits only, and in the
// flash-time box at most one decimal point besides; never a value above the
// box's upper limit (digits typed on and on would make a number no match
// can count with). A value below the lower limit is taken: it may be the
// start of a larger one.
bool acceptsText(const OptionBox& option, std::string_view text);

// Why a value given for the box from outside the window (a command-line
// option) is refused, as "takes a whole number from 1 to 30, not "35792"":
// it is not the box's kind of number, not above zero, or above the box's
// upper limit. A value below the spin buttons' lowest is taken, as typed
// into the window it is: a short round for practice or a test. None when
// the box takes it, or the control is no option box.
std::optional<std::string> refusalOf(Control box, std::string_view text);

// A user's edit of a control's text: kept when the control takes it (an
// option box takes only its kind of number), refused otherwise.
bool enterText(ControlModel& model, Control control, std::string text);

// The value of a box's text as the program reads it: the leading number,
// 0 when there is none.
int integerValue(std::string_view text);
double decimalValue(std::string_view text);

// Wheel and flash-time spin: value + direction, wrapping at the limits. The
// flash time counts in whole tenths, rounded down, so the limits compare
// exactly.
void adjustSetting(ControlModel& model, Control box, int direction);

// Spin buttons of the integer boxes: value + direction, held within the
// limits.
void spinSetting(ControlModel& model, Control box, int direction);

// Registers the wheel and spin handlers of every option box.
void installOptionStepping(ControlModel& model);

// The box that holds a mode's entries per round. The timed race counts in
// minutes and has none; it answers the relay's box, as a relay's round does.
Control entryBoxOf(MatchMode mode);

}  // namespace qiru::ui
