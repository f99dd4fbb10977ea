#pragma once
// A tab control whose pages show their own children: the tab bar across the
// top, a framed body below it, and one transparent page per caption laid
// over the whole control, so that the children keep positions relative to
// the control as the window table gives them. Only the current page shows.

#include <QWidget>
#include <functional>
#include <vector>

class QTabBar;
class QFrame;

namespace qiru::ui::qt {

class TabPages final : public QWidget {
 public:
  TabPages(const std::vector<std::string>& captions, QWidget* parent);

  QWidget* page(int index) const;
  int pageOf(const QString& caption) const;
  void setCurrentPage(int index);
  int currentPage() const;
  // The user picked another page.
  void onPageChosen(std::function<void(int)> chosen);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QTabBar* bar_;
  QFrame* body_;
  std::vector<QWidget*> pages_;
};

}  // namespace qiru::ui::qt
