#pragma once
// Colours, fonts and alignment of the controls.

#include <cstdint>
#include <string>

namespace qiru::ui {

// A colour as the program writes it: 0x00BBGGRR (0x0000FF is red).
using Colour = std::uint32_t;

// No colour of its own: the parent's background shows through.
inline constexpr Colour kTransparent = 0xFFFFFFFF;
// The platform's usual colour for that kind of control (white edit boxes,
// grey buttons).
inline constexpr Colour kSystemColour = 0xFFFFFFFE;

// The sides' colours, and the green of their tiles, light enough for both
// to read on it (red 3.6:1, blue 6:1).
inline constexpr Colour kRedSideColour = 0x0000E0;   // 红方, machine 1
inline constexpr Colour kBlueSideColour = 0xFF0000;  // 蓝方, machine 2
inline constexpr Colour kScoreTileGreen = 0xC8E0C8;
// Side labels and scores before a machine has reported in.
inline constexpr Colour kQuietGrey = 0x505050;
inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kGrey = 0x808080;
// A wrong chord: its key log line, and the side's input label until the
// next chord. Dark enough to read on white (6.5:1).
inline constexpr Colour kWrongChordLineColour = 0x0000C0;
inline constexpr Colour kWrongChordBackground = 0x2020C0;

// A font, always with the Chinese (GB2312) character set. The empty face is
// the system's default face. height is the character height in logical
// units, negative for the em height; 0 is the default size.
struct Font {
  std::string face;
  int height = 0;
  bool bold = false;
  friend bool operator==(const Font&, const Font&) = default;
};

enum class Alignment {
  Left,
  Centre,
  Right,
};

}  // namespace qiru::ui
