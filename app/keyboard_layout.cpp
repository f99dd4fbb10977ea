#include "app/keyboard_layout.h"

#include <Qt>
#include <array>
#include <string_view>

namespace qiru::app {
namespace {

constexpr std::string_view kKeyNames = "RHANVFLUOGBDI";

struct LayoutKey {
  int qtKey;
  int shiftedKey;  // the same key with Shift held (punctuation); 0 for letters
  Hand hand;
  char name;
};

constexpr std::array<LayoutKey, 26> kLayout = {{
    {Qt::Key_Q, 0, Hand::Left, 'R'},         {Qt::Key_W, 0, Hand::Left, 'H'},
    {Qt::Key_E, 0, Hand::Left, 'A'},         {Qt::Key_R, 0, Hand::Left, 'N'},
    {Qt::Key_T, 0, Hand::Left, 'V'},         {Qt::Key_A, 0, Hand::Left, 'F'},
    {Qt::Key_S, 0, Hand::Left, 'L'},         {Qt::Key_D, 0, Hand::Left, 'U'},
    {Qt::Key_F, 0, Hand::Left, 'O'},         {Qt::Key_G, 0, Hand::Left, 'G'},
    {Qt::Key_Z, 0, Hand::Left, 'B'},         {Qt::Key_X, 0, Hand::Left, 'D'},
    {Qt::Key_C, 0, Hand::Left, 'I'},
    {Qt::Key_P, 0, Hand::Right, 'R'},        {Qt::Key_O, 0, Hand::Right, 'H'},
    {Qt::Key_I, 0, Hand::Right, 'A'},        {Qt::Key_U, 0, Hand::Right, 'N'},
    {Qt::Key_Y, 0, Hand::Right, 'V'},        {Qt::Key_Semicolon, Qt::Key_Colon, Hand::Right, 'F'},
    {Qt::Key_L, 0, Hand::Right, 'L'},        {Qt::Key_K, 0, Hand::Right, 'U'},
    {Qt::Key_J, 0, Hand::Right, 'O'},        {Qt::Key_H, 0, Hand::Right, 'G'},
    {Qt::Key_Slash, Qt::Key_Question, Hand::Right, 'B'},
    {Qt::Key_Period, Qt::Key_Greater, Hand::Right, 'D'},
    {Qt::Key_Comma, Qt::Key_Less, Hand::Right, 'I'},
}};

}  // namespace

std::optional<MachineKey> machineKeyOf(int qtKey) {
  for (const LayoutKey& key : kLayout) {
    if (key.qtKey == qtKey || (key.shiftedKey != 0 && key.shiftedKey == qtKey)) {
      return MachineKey{key.hand, static_cast<int>(kKeyNames.find(key.name))};
    }
  }
  return std::nullopt;
}

void pressKey(PressedKeys& keys, MachineKey key, bool down) {
  std::int32_t& set = key.hand == Hand::Left ? keys.left : keys.right;
  const std::int32_t bit = std::int32_t{1} << key.bit;
  set = down ? (set | bit) : (set & ~bit);
}

std::string keyboardLayoutText() {
  return "键盘即一号机（红方），窗口有焦点时有效。左右手各 13 键，与速录机键位相同：\n\n"
         "        左手                    右手\n"
         "  Q  W  E  R  T        Y  U  I  O  P\n"
         "  R  H  A  N  V        V  N  A  H  R\n\n"
         "  A  S  D  F  G        H  J  K  L  ;\n"
         "  F  L  U  O  G        G  O  U  L  F\n\n"
         "  Z  X  C                  ,  .  /\n"
         "  B  D  I                  I  D  B\n\n"
         "开始键（右 I）：,     确认键 EN（左 F + 右 I）：A 与 , 同按\n"
         "各键同时按下、全部松开即为一击。";
}

}  // namespace qiru::app
