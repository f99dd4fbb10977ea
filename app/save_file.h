#pragma once
// Saving something the person asked for: a file dialog, the save, and a box
// that says so when the file could not be written.

#include <QByteArray>
#include <QString>
#include <functional>

class QWidget;

namespace qiru::app {

struct SaveDialog {
  QString title;          // the dialog's title ("保存成绩图片")
  QString suggestedName;  // "成绩详情.png"
  QString filter;         // "PNG 图片 (*.png)"
  QString boxCaption;     // the failure box's caption
};

// Asks for a file and saves to it; a failed save is told in a box.
void saveThroughDialog(QWidget* parent, const SaveDialog& dialog, const std::function<bool(const QString&)>& save);

// Writes the bytes as the file's whole content; false when that fails.
bool writeWholeFile(const QString& file, const QByteArray& bytes);

}  // namespace qiru::app
