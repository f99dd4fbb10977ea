#pragma once
// The model's values in Qt's terms: UTF-8 texts, colours written as
// 0x00BBGGRR, fonts with their logical heights, alignments.

#include <QColor>
#include <QFont>
#include <QString>
#include <string>

#include "ui/appearance.h"
#include "ui/rich_text.h"

namespace qiru::ui::qt {

QString toQString(const std::string& text);
std::string toUtf8(const QString& text);
// The model writes line breaks as CR LF; Qt's widgets break at LF.
QString withLineFeeds(const std::string& text);

QColor toQColor(Colour colour);
bool hasOwnColour(Colour colour);

// The face with fallbacks that carry its glyphs on this system: "宋体" and
// "Times New Roman" are Windows faces; the CJK face of the desktop stands in.
QStringList familiesFor(const std::string& face);
// height < 0: the em height in pixels; > 0: the cell height; 0: the
// application's default size.
QFont toQFont(const Font& font);
QFont toQFont(const CharFormat& format);

Qt::Alignment toQtAlignment(Alignment alignment);

}  // namespace qiru::ui::qt
