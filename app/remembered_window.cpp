#include "app/remembered_window.h"

#include <QSettings>
#include <QWidget>

#include "app/single_instance.h"

namespace qiru::app {
namespace {

QString geometryKey() { return QString::fromLatin1(kInstanceName) + QStringLiteral("/geometry"); }

}  // namespace

bool restoreWindow(QWidget& window) {
  const QByteArray kept = QSettings().value(geometryKey()).toByteArray();
  return !kept.isEmpty() && window.restoreGeometry(kept);
}

void rememberWindow(const QWidget& window) { QSettings().setValue(geometryKey(), window.saveGeometry()); }

}  // namespace qiru::app
