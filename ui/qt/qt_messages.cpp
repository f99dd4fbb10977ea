#include "ui/qt/qt_messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

#include "support/headless_messages.h"
#include "ui/qt/qt_conversions.h"

namespace qiru::ui::qt {
namespace {

// How often a thread waiting for a box looks whether the window has closed.
constexpr auto kClosedPollInterval = std::chrono::milliseconds(50);

QMessageBox::Icon iconOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Error:
      return QMessageBox::Critical;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons buttonsOf(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::Ok:
      break;
  }
  return QMessageBox::Ok;
}

int answerOf(int button) {
  switch (button) {
    case QMessageBox::Cancel:
      return AnswerCancel;
    case QMessageBox::Yes:
      return AnswerYes;
    case QMessageBox::No:
      return AnswerNo;
    default:
      return AnswerOk;
  }
}

}  // namespace

int QtMessages::show(const MessageRequest& request) {
  QCoreApplication* app = QCoreApplication::instance();
  if (closed_ || app == nullptr) return answerUnattended(request);
  if (QThread::currentThread() == app->thread()) return showHere(request);
  // The caller waits for the GUI thread's answer, but gives up once the
  // window closes: the GUI thread may then be joining the caller's thread.
  struct Pending {
    std::mutex mutex;
    std::condition_variable answered;
    std::optional<int> answer;
  };
  auto pending = std::make_shared<Pending>();
  QMetaObject::invokeMethod(app, [this, request, pending] {
    const int answer = showHere(request);
    std::lock_guard hold(pending->mutex);
    pending->answer = answer;
    pending->answered.notify_all();
  }, Qt::QueuedConnection);
  std::unique_lock hold(pending->mutex);
  while (!pending->answer) {
    if (closed_) return answerUnattended(request);
    pending->answered.wait_for(hold, kClosedPollInterval);
  }
  return *pending->answer;
}

int QtMessages::showHere(const MessageRequest& request) {
  if (closed_) return answerUnattended(request);
  QWidget* owner = request.owner == MessageOwner::MainWindow ? owner_.data() : nullptr;
  QMessageBox box(iconOf(request.icon), toQString(request.caption), withLineFeeds(request.text),
                  buttonsOf(request.buttons), owner);
  box.setObjectName(QStringLiteral("messageBox"));
  if (request.topmost) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  bool timedOut = false;
  if (request.timeoutMs > 0) {
    QTimer::singleShot(request.timeoutMs, &box, [&box, &timedOut] {
      timedOut = true;
      box.done(QMessageBox::NoButton);
    });
  }
  const int button = box.exec();
  return timedOut ? AnswerTimedOut : answerOf(button);
}

}  // namespace qiru::ui::qt
