#include "ui/qt/option_spin.h"

#include <QToolButton>

#include "ui/qt/qt_conversions.h"

namespace qiru::ui::qt {
namespace {

QToolButton* spinButton(Qt::ArrowType arrow, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

}  // namespace

OptionSpin::OptionSpin(ControlModel& model, Control box, QWidget* parent)
    : QWidget(parent), up_(spinButton(Qt::UpArrow, this)), down_(spinButton(Qt::DownArrow, this)) {
  setObjectName(QString::fromUtf8(controlName(box).data(), static_cast<qsizetype>(controlName(box).size())) +
                QStringLiteral(".spin"));
  connect(up_, &QToolButton::clicked, this, [&model, box] { model.deliver(box, EventKind::SpinButton, +1); });
  connect(down_, &QToolButton::clicked, this, [&model, box] { model.deliver(box, EventKind::SpinButton, -1); });
}

void OptionSpin::placeBeside(const QRect& box) { setGeometry(box.right() + 1, box.top(), kSpinButtonsWidth, box.height()); }

void OptionSpin::resizeEvent(QResizeEvent*) {
  const int upper = height() / 2;
  up_->setGeometry(0, 0, width(), upper);
  down_->setGeometry(0, upper, width(), height() - upper);
}

}  // namespace qiru::ui::qt
