#pragma once
// A key-log box: read-only lines with a vertical scroll bar that follows the
// newest line; a wrong chord's line is drawn in red. A text that only grows is appended, so that a long match
// does not redraw the whole log for each chord.

#include <QPlainTextEdit>
#include <string>
#include <vector>

#include "ui/geometry.h"

namespace qiru::ui::qt {

class KeyLogBox final : public QPlainTextEdit {
 public:
  explicit KeyLogBox(QWidget* parent);
  // The text, with the marked lines (0-based) in the warning colour.
  void showText(const std::string& text, const std::vector<int>& markedLines);
  void setMargins(const Margins& margins);

 private:
  void markLine(int line);

  std::string shown_;
  std::vector<int> marked_;
};

}  // namespace qiru::ui::qt
