#pragma once
// The status bar: its panes side by side from the left, each as wide as the
// model says, the last one taking what is left.

#include <QWidget>
#include <vector>

#include "ui/control_state.h"

class QLabel;

namespace qiru::ui::qt {

class StatusPanes final : public QWidget {
 public:
  explicit StatusPanes(QWidget* parent);
  void showPanes(const std::vector<StatusPane>& panes);
  QLabel* pane(int index) const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void placePanes();
  std::vector<QLabel*> labels_;
  std::vector<int> widths_;
};

}  // namespace qiru::ui::qt
