#include "match/key_record.h"

#include "device/side.h"

namespace qiru {

ui::Control keyRecordBox(std::int32_t side) {
  return side == kRedSide ? ui::Control::编辑框_一号机按键 : ui::Control::编辑框_二号机按键;
}

std::string_view keyRecordHeading(std::int32_t side) {
  return side == kRedSide ? kRedKeyRecordHeading : kBlueKeyRecordHeading;
}

std::string keyRecordText(std::int32_t keyCount, std::string_view name, std::string_view chord) {
  return std::to_string(keyCount) + " " + std::string(name) + " - " + std::string(chord);
}

std::string keyRecordLine(std::int32_t keyCount, const KeyEvent& event) {
  return "\r\n" + keyRecordText(keyCount, event.name, event.chord);
}

}  // namespace qiru
