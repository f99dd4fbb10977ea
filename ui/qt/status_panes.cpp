#include "ui/qt/status_panes.h"

#include <QLabel>
#include <QPalette>

#include "ui/qt/qt_conversions.h"

namespace qiru::ui::qt {

StatusPanes::StatusPanes(QWidget* parent) : QWidget(parent) {
  // The window refuses input while a result shows; what the bar says (the
  // keys' hint, the last chord) stays as readable as ever then.
  QPalette colours = palette();
  colours.setColor(QPalette::Disabled, QPalette::WindowText, colours.color(QPalette::Active, QPalette::WindowText));
  setPalette(colours);
}

QLabel* StatusPanes::pane(int index) const {
  return index >= 0 && index < static_cast<int>(labels_.size()) ? labels_[static_cast<std::size_t>(index)] : nullptr;
}

void StatusPanes::showPanes(const std::vector<StatusPane>& panes) {
  while (labels_.size() < panes.size()) {
    auto* label = new QLabel(this);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setObjectName(QStringLiteral("pane%1").arg(labels_.size()));
    label->show();
    labels_.push_back(label);
  }
  widths_.clear();
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    labels_[i]->setVisible(i < panes.size());
    if (i < panes.size()) {
      labels_[i]->setText(QStringLiteral(" ") + toQString(panes[i].text));
      widths_.push_back(panes[i].width);
    }
  }
  placePanes();
}

void StatusPanes::resizeEvent(QResizeEvent*) { placePanes(); }

void StatusPanes::placePanes() {
  int left = 0;
  for (std::size_t i = 0; i < widths_.size(); ++i) {
    const bool last = i + 1 == widths_.size();
    const int paneWidth = last ? std::max(width() - left, 0) : widths_[i];
    labels_[i]->setGeometry(left, 0, paneWidth, height());
    left += paneWidth;
  }
}

}  // namespace qiru::ui::qt
