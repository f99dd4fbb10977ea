#pragma once
// Lets test failures show rectangles as numbers.

#include <ostream>

#include "ui/geometry.h"

namespace qiru::ui {

inline std::ostream& operator<<(std::ostream& out, const Rect& r) {
  return out << "{" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << "}";
}

}  // namespace qiru::ui
