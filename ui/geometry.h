#pragma once
// Positions and sizes in pixels, relative to the parent control (the main
// window's client area for the controls directly on the window).

namespace qiru::ui {

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Distances inward from a control's edges: a rich edit box's formatting
// rectangle, which follows the box when it is resized.
struct Insets {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const Insets&, const Insets&) = default;
};

// The left and right margins of an edit box's text.
struct Margins {
  int left = 0;
  int right = 0;
  friend bool operator==(const Margins&, const Margins&) = default;
};

}  // namespace qiru::ui
