#pragma once
// One widget per control of the window table, built in creation order under
// the client area of the main window, named as the control. apply() brings
// one control's widget in step with its state after a change; it runs on
// the GUI thread only. User input on the widgets goes back into the model.

#include <QPointer>
#include <QWidget>
#include <array>

#include "ui/control_change.h"
#include "ui/control_model.h"

class QTimer;

namespace qiru::ui::qt {

class OptionSpin;

class ControlWidgets {
 public:
  // Builds every control but the window itself under `client`; `timerOwner`
  // owns the match clock.
  ControlWidgets(ControlModel& model, QWidget* client);

  // The widget of a control (the client area for the window); null for the
  // timer, which is no widget.
  QWidget* widget(Control control) const { return widgets_[indexOf(control)]; }
  QTimer* timer() const { return timer_; }

  void apply(Control control, Property property, const ControlState& state);
  // Every property of every control from the model, as at creation.
  void applyAll();

 private:
  void build(const ControlSpec& spec, QWidget* parent);
  QWidget* parentOf(const ControlSpec& spec) const;
  void connectInput(const ControlSpec& spec, QWidget* widget);
  void watchWheel(Control control, QWidget* widget);
  void applyText(Control control, QWidget* widget, const ControlState& state);
  void applyColours(QWidget* widget, const ControlState& state);
  void applyShown(Control control, QWidget* widget, bool shown);

  ControlModel& model_;
  QWidget* client_;
  QTimer* timer_ = nullptr;
  std::array<QWidget*, kControlCount> widgets_{};
  std::array<OptionSpin*, kControlCount> spins_{};
};

}  // namespace qiru::ui::qt
