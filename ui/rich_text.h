#pragma once
// The content of a rich edit box: runs of text, each in its own character
// format, under one paragraph format.

#include <string>
#include <vector>

#include "ui/appearance.h"

namespace qiru::ui {

struct CharFormat {
  std::string face;  // as in Font
  int sizePoints = 0;
  bool bold = false;
  Colour colour = kBlack;
  int offset = 0;  // raised (positive) or lowered from the base line
  friend bool operator==(const CharFormat&, const CharFormat&) = default;
};

struct ParagraphFormat {
  Alignment alignment = Alignment::Left;
  bool bullets = false;
  int indent = 0;  // start, right and first-line indents alike
  friend bool operator==(const ParagraphFormat&, const ParagraphFormat&) = default;
};

struct TextRun {
  std::string text;
  CharFormat format;
  friend bool operator==(const TextRun&, const TextRun&) = default;
};

using RichText = std::vector<TextRun>;

}  // namespace qiru::ui
