#pragma once
// The up-down buttons beside a numeric option box. They sit just right of
// the box, as high as it, and come and go with it. Each press goes to the
// model as the box's spin-button event (+1 upper, -1 lower); holding a
// button repeats it.

#include <QWidget>

#include "ui/control_model.h"

class QToolButton;

namespace qiru::ui::qt {

inline constexpr int kSpinButtonsWidth = 16;

class OptionSpin final : public QWidget {
 public:
  OptionSpin(ControlModel& model, Control box, QWidget* parent);
  // Beside the box's rectangle.
  void placeBeside(const QRect& box);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace qiru::ui::qt
