#include "ui/qt/key_log_box.h"

#include <QScrollBar>
#include <QTextCursor>

#include "ui/qt/qt_conversions.h"

namespace qiru::ui::qt {

KeyLogBox::KeyLogBox(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void KeyLogBox::showText(const std::string& text) {
  if (text == shown_) return;
  if (!shown_.empty() && text.size() > shown_.size() && text.compare(0, shown_.size(), shown_) == 0) {
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(withLineFeeds(text.substr(shown_.size())));
  } else {
    setPlainText(withLineFeeds(text));
  }
  shown_ = text;
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void KeyLogBox::setMargins(const Margins& margins) { setViewportMargins(margins.left, 0, margins.right, 0); }

}  // namespace qiru::ui::qt
