#pragma once
// The PC keyboard as machine 1: 13 keys per hand, the rows of each hand
// mirrored as on a stenotype machine. Key names are the machine's
// (RHANVFLUOGBDI per hand):
//
//   left hand          right hand
//   Q W E R T          Y U I O P        R H A N V  /  V N A H R
//   A S D F G          H J K L ;        F L U O G  /  G O U L F
//   Z X C              , . /            B D I      /      I D B
//
// So the start key (right I) is ",", and the confirm key EN (left F with
// right I) is A with ",".

#include <optional>
#include <string>

#include "device/report_layout.h"

namespace qiru::app {

enum class Hand { Left, Right };

struct MachineKey {
  Hand hand;
  int bit;  // the key's bit in its hand's 13-key set
};

// The machine key of a Qt key code (shifted punctuation included); none
// for keys outside the layout.
std::optional<MachineKey> machineKeyOf(int qtKey);

// Adds or removes the key in the pressed keys.
void pressKey(PressedKeys& keys, MachineKey key, bool down);

// The layout as the help box shows it, one line per row.
std::string keyboardLayoutText();

}  // namespace qiru::app
