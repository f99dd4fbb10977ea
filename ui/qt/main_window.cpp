#include "ui/qt/main_window.h"

#include <QCloseEvent>
#include <QResizeEvent>

namespace qiru::ui::qt {

MainWindow::MainWindow(ControlModel& model) : model_(model), client_(new QWidget(this)), widgets_(model, client_) {
  setObjectName(QString::fromUtf8(controlName(Control::QiruPK).data(),
                                  static_cast<qsizetype>(controlName(Control::QiruPK).size())));
  setFocusPolicy(Qt::StrongFocus);
  // Listening first: a change made while the widgets are filled is applied
  // again afterwards rather than lost.
  model_.setChangeListener([this](const ControlChange& change) { queue(change); });
  widgets_.applyAll();
}

MainWindow::~MainWindow() { model_.setChangeListener({}); }

void MainWindow::queue(const ControlChange& change) {
  bool first = false;
  {
    std::lock_guard hold(pendingMutex_);
    first = pending_.empty();
    pending_.push_back({change.control, change.property, change.state});
  }
  // One posted call drains everything queued before it runs.
  if (first) QMetaObject::invokeMethod(this, [this] { applyPendingChanges(); }, Qt::QueuedConnection);
}

void MainWindow::applyPendingChanges() {
  std::deque<PendingChange> changes;
  {
    std::lock_guard hold(pendingMutex_);
    changes.swap(pending_);
  }
  for (const PendingChange& change : changes) widgets_.apply(change.control, change.property, change.state);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  client_->setGeometry(rect());
  model_.resizeWindow({event->size().width() + kWindowFrameSize.width, event->size().height() + kWindowFrameSize.height});
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!closed_ && mayClose_ && !mayClose_()) {
    event->ignore();
    return;
  }
  if (!closed_) {
    closed_ = true;
    model_.deliver(Control::QiruPK, EventKind::AboutToBeDestroyed);
  }
  event->accept();
}

}  // namespace qiru::ui::qt
