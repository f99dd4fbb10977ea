#include "ui/qt/tab_pages.h"

#include <QFrame>
#include <QTabBar>

#include "ui/qt/qt_conversions.h"

namespace qiru::ui::qt {

TabPages::TabPages(const std::vector<std::string>& captions, QWidget* parent)
    : QWidget(parent), bar_(new QTabBar(this)), body_(new QFrame(this)) {
  body_->setFrameShape(QFrame::StyledPanel);
  bar_->setDrawBase(false);
  bar_->setExpanding(false);
  for (const std::string& caption : captions) {
    bar_->addTab(toQString(caption));
    auto* page = new QWidget(this);
    page->setObjectName(toQString(caption));
    pages_.push_back(page);
  }
  setCurrentPage(0);
}

QWidget* TabPages::page(int index) const {
  return index >= 0 && index < static_cast<int>(pages_.size()) ? pages_[static_cast<std::size_t>(index)] : nullptr;
}

int TabPages::pageOf(const QString& caption) const {
  for (int i = 0; i < bar_->count(); ++i) {
    if (bar_->tabText(i) == caption) return i;
  }
  return -1;
}

void TabPages::setCurrentPage(int index) {
  if (index != bar_->currentIndex()) {
    const QSignalBlocker quiet(bar_);
    bar_->setCurrentIndex(index);
  }
  for (std::size_t i = 0; i < pages_.size(); ++i) pages_[i]->setVisible(static_cast<int>(i) == index);
}

int TabPages::currentPage() const { return bar_->currentIndex(); }

void TabPages::onPageChosen(std::function<void(int)> chosen) {
  connect(bar_, &QTabBar::currentChanged, this, [this, chosen = std::move(chosen)](int index) {
    setCurrentPage(index);
    chosen(index);
  });
}

void TabPages::resizeEvent(QResizeEvent*) {
  const int barHeight = bar_->sizeHint().height();
  bar_->setGeometry(0, 0, width(), barHeight);
  // The body's top edge tucks under the tabs, as a tab control draws it.
  body_->setGeometry(0, barHeight - 1, width(), height() - barHeight + 1);
  for (QWidget* page : pages_) {
    page->setGeometry(0, 0, width(), height());
    page->raise();
  }
  bar_->raise();
}

}  // namespace qiru::ui::qt
