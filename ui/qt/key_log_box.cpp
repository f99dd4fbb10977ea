#include "ui/qt/key_log_box.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

#include "ui/qt/qt_conversions.h"

namespace qiru::ui::qt {

KeyLogBox::KeyLogBox(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void KeyLogBox::showText(const std::string& text, const std::vector<int>& markedLines) {
  if (text == shown_ && markedLines == marked_) return;
  const bool appended = !shown_.empty() && text.size() > shown_.size() && text.compare(0, shown_.size(), shown_) == 0 &&
                        std::equal(marked_.begin(), marked_.end(), markedLines.begin(),
                                   markedLines.begin() + static_cast<std::ptrdiff_t>(
                                                             std::min(marked_.size(), markedLines.size())));
  std::size_t newMarks = 0;
  if (appended) {
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    // In the plain format: the new line must not take on a red line's colour.
    end.insertText(withLineFeeds(text.substr(shown_.size())), QTextCharFormat());
    newMarks = marked_.size();
  } else {
    setPlainText(withLineFeeds(text));
  }
  for (std::size_t i = newMarks; i < markedLines.size(); ++i) markLine(markedLines[i]);
  shown_ = text;
  marked_ = markedLines;
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void KeyLogBox::markLine(int line) {
  const QTextBlock block = document()->findBlockByNumber(line);
  if (!block.isValid()) return;
  QTextCursor cursor(block);
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  QTextCharFormat warning;
  warning.setForeground(toQColor(kWrongChordLineColour));
  cursor.setCharFormat(warning);
}

void KeyLogBox::setMargins(const Margins& margins) { setViewportMargins(margins.left, 0, margins.right, 0); }

}  // namespace qiru::ui::qt
