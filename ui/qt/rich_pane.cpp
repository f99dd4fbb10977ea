#include "ui/qt/rich_pane.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

#include "ui/qt/qt_conversions.h"

namespace qiru::ui::qt {
namespace {

QTextCharFormat charFormatOf(const CharFormat& format) {
  QTextCharFormat qformat;
  qformat.setFont(toQFont(format));
  qformat.setForeground(toQColor(format.colour));
  if (format.offset > 0) qformat.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
  if (format.offset < 0) qformat.setVerticalAlignment(QTextCharFormat::AlignSubScript);
  return qformat;
}

}  // namespace

RichPane::RichPane(QWidget* parent) : QTextEdit(parent) {
  setReadOnly(true);
  setFocusPolicy(Qt::NoFocus);
  setTextInteractionFlags(Qt::NoTextInteraction);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFrameShape(QFrame::NoFrame);
  document()->setDocumentMargin(0);
  // The ground fills the formatting rectangle's margins too.
  QPalette colours = palette();
  colours.setColor(QPalette::Base, toQColor(kQuestionPaneBackground));
  colours.setColor(QPalette::Window, toQColor(kQuestionPaneBackground));
  setPalette(colours);
  setAutoFillBackground(true);
}

void RichPane::showRuns(const RichText& runs, const ParagraphFormat& paragraph) {
  clear();
  QTextCursor cursor(document());
  QTextBlockFormat block;
  block.setAlignment(toQtAlignment(paragraph.alignment));
  block.setLeftMargin(paragraph.indent);
  block.setRightMargin(paragraph.indent);
  block.setTextIndent(paragraph.indent);
  cursor.setBlockFormat(block);
  for (const TextRun& run : runs) {
    const QTextCharFormat format = charFormatOf(run.format);
    const QStringList lines = toQString(run.text).split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
      if (i > 0) cursor.insertBlock(block, format);
      cursor.insertText(lines[i], format);
    }
  }
}

void RichPane::setFormatInsets(const Insets& insets) { setViewportMargins(insets.left, insets.top, insets.right, insets.bottom); }

}  // namespace qiru::ui::qt
