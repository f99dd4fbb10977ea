#pragma once
// The main window QiruPK as Qt draws it: a top-level widget whose client
// area holds one widget per control. It follows the control model: the
// model's change listener only queues a copy of each change, from whatever
// thread made it, and the GUI thread applies the queue in order. The
// platform's resizes go into the model (which runs the layout), closing
// the window delivers the about-to-be-destroyed event, and the window's
// enabled state governs the client area only, so that the keys of the
// keyboard machine still reach the program while the result refuses input.

#include <QWidget>
#include <deque>
#include <functional>
#include <mutex>

#include "ui/control_change.h"
#include "ui/control_model.h"
#include "ui/qt/control_widgets.h"

namespace qiru::ui::qt {

class MainWindow final : public QWidget {
 public:
  // Builds the widgets and starts following the model. The model must
  // outlive the window.
  explicit MainWindow(ControlModel& model);
  ~MainWindow() override;

  QWidget* widget(Control control) const { return widgets_.widget(control); }
  const ControlWidgets& controls() const { return widgets_; }
  // Applies the changes queued so far, now (the GUI thread only).
  void applyPendingChanges();
  // Asked when the user closes the window: false keeps it open (a round is
  // running and the user chose to go on).
  void setCloseGuard(std::function<bool()> mayClose) { mayClose_ = std::move(mayClose); }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  struct PendingChange {
    Control control;
    Property property;
    ControlState state;
  };
  void queue(const ControlChange& change);

  ControlModel& model_;
  QWidget* client_;
  ControlWidgets widgets_;
  std::mutex pendingMutex_;
  std::deque<PendingChange> pending_;  // guarded by pendingMutex_
  bool closed_ = false;
  std::function<bool()> mayClose_;
};

}  // namespace qiru::ui::qt
