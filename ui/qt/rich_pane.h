#pragma once
// A question pane: read-only formatted text on a dark ground, the text kept
// inside its formatting rectangle.

#include <QTextEdit>

#include "ui/control_state.h"

namespace qiru::ui::qt {

// The panes' ground: the banner format writes white text.
inline constexpr Colour kQuestionPaneBackground = 0x000000;

class RichPane final : public QTextEdit {
 public:
  explicit RichPane(QWidget* parent);
  // Replaces the content by the runs, under the paragraph format.
  void showRuns(const RichText& runs, const ParagraphFormat& paragraph);
  void setFormatInsets(const Insets& insets);
};

}  // namespace qiru::ui::qt
