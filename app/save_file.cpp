#include "app/save_file.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

namespace qiru::app {

void saveThroughDialog(QWidget* parent, const SaveDialog& dialog, const std::function<bool(const QString&)>& save) {
  const QString file = QFileDialog::getSaveFileName(parent, dialog.title, dialog.suggestedName, dialog.filter);
  if (file.isEmpty() || save(file)) return;
  QMessageBox::warning(parent, dialog.boxCaption,
                       QStringLiteral("无法保存到：%1\n请换一个文件夹或文件名再试。").arg(file));
}

bool writeWholeFile(const QString& file, const QByteArray& bytes) {
  QFile out(file);
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return out.write(bytes) == bytes.size() && out.flush();
}

}  // namespace qiru::app
