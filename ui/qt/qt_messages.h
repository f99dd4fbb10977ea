#pragma once
// The message boxes of the window: topmost, owned by the main window (or by
// nobody while there is none), closing themselves after their time-out.
// show() may be called from any thread: a box asked for off the GUI thread
// is shown on it while the caller waits for the answer.

#include <QPointer>
#include <QWidget>
#include <atomic>

#include "support/messages.h"

namespace qiru::ui::qt {

class QtMessages final : public MessageService {
 public:
  QtMessages() = default;
  // The window that owns the boxes from now on (null: none).
  void setOwner(QWidget* owner) { owner_ = owner; }
  // The event loop has ended: boxes asked for later are not shown and
  // answer as if they had timed out (or with their first button).
  void close() { closed_ = true; }

  int show(const MessageRequest& request) override;

 private:
  int showHere(const MessageRequest& request);

  QPointer<QWidget> owner_;
  std::atomic<bool> closed_{false};
};

}  // namespace qiru::ui::qt
