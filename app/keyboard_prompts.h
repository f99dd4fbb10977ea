#pragma once
// The prompts of the match when machine 1 is the PC keyboard: beside each
// machine key they name the PC key(s) of the layout (keyboard_layout.h),
// the result panel says how to go on, and the status bar points to F1.

#include "match/match_prompts.h"

namespace qiru::app {

MatchPrompts keyboardPrompts();

}  // namespace qiru::app
