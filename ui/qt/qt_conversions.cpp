#include "ui/qt/qt_conversions.h"

#include <QApplication>

namespace qiru::ui::qt {
namespace {

// Where the Windows faces are missing, the desktop's CJK face draws the
// Chinese texts (fonts-wqy-zenhei on Debian).
constexpr const char* kCjkFallbacks[] = {"WenQuanYi Zen Hei", "Noto Sans CJK SC", "Noto Serif CJK SC"};

// A cell height includes the internal leading, about a fifth of it.
int emPixelsOfCellHeight(int height) { return height * 5 / 6; }

}  // namespace

QString toQString(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string toUtf8(const QString& text) { return text.toUtf8().toStdString(); }

QString withLineFeeds(const std::string& text) { return toQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

QColor toQColor(Colour colour) { return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

bool hasOwnColour(Colour colour) { return colour != kTransparent && colour != kSystemColour; }

QStringList familiesFor(const std::string& face) {
  QStringList families;
  if (face == "宋体") {
    families << QStringLiteral("SimSun") << QStringLiteral("宋体");
  } else if (face == "Times New Roman") {
    families << QStringLiteral("Times New Roman") << QStringLiteral("Liberation Serif") << QStringLiteral("DejaVu Serif");
  } else if (!face.empty()) {
    families << toQString(face);
  } else {
    families << QApplication::font().family();
  }
  for (const char* fallback : kCjkFallbacks) families << QString::fromLatin1(fallback);
  return families;
}

QFont toQFont(const Font& font) {
  QFont qfont = QApplication::font();
  qfont.setFamilies(familiesFor(font.face));
  if (font.height < 0) qfont.setPixelSize(-font.height);
  if (font.height > 0) qfont.setPixelSize(emPixelsOfCellHeight(font.height));
  qfont.setBold(font.bold);
  return qfont;
}

QFont toQFont(const CharFormat& format) {
  QFont qfont = QApplication::font();
  qfont.setFamilies(familiesFor(format.face));
  if (format.sizePoints > 0) qfont.setPointSize(format.sizePoints);
  qfont.setBold(format.bold);
  return qfont;
}

Qt::Alignment toQtAlignment(Alignment alignment) {
  switch (alignment) {
    case Alignment::Centre:
      return Qt::AlignHCenter;
    case Alignment::Right:
      return Qt::AlignRight;
    case Alignment::Left:
      break;
  }
  return Qt::AlignLeft;
}

}  // namespace qiru::ui::qt
