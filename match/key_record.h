#pragma once
// The key records: every chord a side strikes during a round, one line each
// in the side's key record box, so that players and referees can follow
// what was keyed. A display only; it is emptied when the round is finished.

#include <cstdint>
#include <string>
#include <string_view>

#include "input/key_event.h"
#include "ui/control.h"

namespace qiru {

inline constexpr std::string_view kRedKeyRecordHeading = "红方按键记录：";
inline constexpr std::string_view kBlueKeyRecordHeading = "蓝方按键记录：";

ui::Control keyRecordBox(std::int32_t side);
std::string_view keyRecordHeading(std::int32_t side);

// One key's record without the line break before it: "3 EN - F:I".
std::string keyRecordText(std::int32_t keyCount, std::string_view name, std::string_view chord);

// The text appended for the side's keyCount-th key of the round: a line
// break, the count, the key's name and its chord ("\r\n3 EN - F:I").
std::string keyRecordLine(std::int32_t keyCount, const KeyEvent& event);

}  // namespace qiru
