#pragma once
// A key-log box: read-only lines with a vertical scroll bar that follows the
// newest line. A text that only grows is appended, so that a long match
// does not redraw the whole log for each chord.

#include <QPlainTextEdit>
#include <string>

#include "ui/geometry.h"

namespace qiru::ui::qt {

class KeyLogBox final : public QPlainTextEdit {
 public:
  explicit KeyLogBox(QWidget* parent);
  void showText(const std::string& text);
  void setMargins(const Margins& margins);

 private:
  std::string shown_;
};

}  // namespace qiru::ui::qt
