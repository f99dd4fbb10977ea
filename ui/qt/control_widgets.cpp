#include "ui/qt/control_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWheelEvent>

#include "ui/control_state.h"
#include "ui/option_boxes.h"
#include "ui/qt/key_log_box.h"
#include "ui/qt/option_spin.h"
#include "ui/qt/qt_conversions.h"
#include "ui/qt/rich_pane.h"
#include "ui/qt/status_panes.h"
#include "ui/qt/tab_pages.h"

namespace qiru::ui::qt {
namespace {

// Turns the wheel's angle into whole notches for the control's wheel event;
// a touchpad's small deltas add up until they make a notch.
class WheelNotches final : public QObject {
 public:
  WheelNotches(ControlModel& model, Control control, QObject* parent)
      : QObject(parent), model_(model), control_(control) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::Wheel) return false;
    pending_ += static_cast<QWheelEvent*>(event)->angleDelta().y();
    const int notches = pending_ / kWheelDeltaPerNotch;
    pending_ -= notches * kWheelDeltaPerNotch;
    if (notches != 0) model_.deliver(control_, EventKind::MouseWheel, notches);
    return true;
  }

 private:
  ControlModel& model_;
  Control control_;
  int pending_ = 0;
};

QString nameOf(Control control) { return toQString(std::string(controlName(control))); }

QWidget* createWidget(const ControlSpec& spec, QWidget* parent) {
  switch (spec.kind) {
    case ControlKind::Label:
      // Static text on one line, clipped at the label's edges.
      return new QLabel(parent);
    case ControlKind::EditBox:
      if (spec.editStyle.multiLine) return new KeyLogBox(parent);
      return new QLineEdit(parent);
    case ControlKind::ShapeBox: {
      // A container with its own ground: the result panel hides what lies
      // beneath it.
      auto* frame = new QFrame(parent);
      frame->setAutoFillBackground(true);
      return frame;
    }
    case ControlKind::Button:
      return new QPushButton(parent);
    case ControlKind::CheckBox:
      return new QCheckBox(parent);
    case ControlKind::ComboBox:
      return new QComboBox(parent);
    case ControlKind::TabControl: {
      std::vector<std::string> pages(spec.pages.begin(), spec.pages.end());
      return new TabPages(pages, parent);
    }
    case ControlKind::StatusBar:
      return new StatusPanes(parent);
    case ControlKind::RichEditBox:
      return new RichPane(parent);
    case ControlKind::CommonDialog:
      // The file dialog opens when the import asks for it; its place on the
      // page holds nothing visible.
      return new QWidget(parent);
    case ControlKind::Window:
    case ControlKind::Timer:
      break;
  }
  return nullptr;
}

}  // namespace

ControlWidgets::ControlWidgets(ControlModel& model, QWidget* client) : model_(model), client_(client) {
  widgets_[indexOf(Control::QiruPK)] = client;
  // The table creates children before their containers: every widget is
  // made first, then each goes into its container (or tab page).
  for (const ControlSpec& spec : controlTable()) {
    if (spec.kind != ControlKind::Window) build(spec, client);
  }
  for (const ControlSpec& spec : controlTable()) {
    QWidget* parent = parentOf(spec);
    if (QWidget* widget = widgets_[indexOf(spec.control)]; widget != nullptr && parent != client) {
      widget->setParent(parent);
      if (OptionSpin* spin = spins_[indexOf(spec.control)]) spin->setParent(parent);
    }
  }
  // Among siblings, a control made earlier lies above one made later: so
  // the result panel covers the score columns, and its score labels the
  // "VS" behind them.
  const std::span<const ControlSpec> table = controlTable();
  for (auto spec = table.rbegin(); spec != table.rend(); ++spec) {
    if (QWidget* widget = widgets_[indexOf(spec->control)]; widget != nullptr && widget != client) widget->raise();
  }
}

QWidget* ControlWidgets::parentOf(const ControlSpec& spec) const {
  if (!spec.parent || *spec.parent == Control::QiruPK) return client_;
  QWidget* parent = widgets_[indexOf(*spec.parent)];
  if (auto* tabs = dynamic_cast<TabPages*>(parent); tabs && !spec.page.empty()) {
    return tabs->page(tabs->pageOf(toQString(std::string(spec.page))));
  }
  return parent;
}

void ControlWidgets::build(const ControlSpec& spec, QWidget* parent) {
  if (spec.kind == ControlKind::Timer) {
    timer_ = new QTimer(client_);
    timer_->setObjectName(nameOf(spec.control));
    timer_->setTimerType(Qt::PreciseTimer);
    const Control control = spec.control;
    QObject::connect(timer_, &QTimer::timeout, client_, [this, control] { model_.deliver(control, EventKind::TimerTick); });
    return;
  }
  QWidget* widget = createWidget(spec, parent);
  widget->setObjectName(nameOf(spec.control));
  widgets_[indexOf(spec.control)] = widget;
  if (findOptionBox(spec.control)) {
    spins_[indexOf(spec.control)] = new OptionSpin(model_, spec.control, parent);
    watchWheel(spec.control, widget);
  }
  connectInput(spec, widget);
}

void ControlWidgets::watchWheel(Control control, QWidget* widget) {
  widget->installEventFilter(new WheelNotches(model_, control, widget));
}

void ControlWidgets::connectInput(const ControlSpec& spec, QWidget* widget) {
  const Control control = spec.control;
  ControlModel& model = model_;
  if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    QObject::connect(line, &QLineEdit::textEdited, line, [&model, control, line](const QString& text) {
      // A refused edit puts the box's own text back.
      if (!enterText(model, control, toUtf8(text))) {
        const int cursor = line->cursorPosition();
        line->setText(toQString(model.text(control)));
        line->setCursorPosition(std::max(cursor - 1, 0));
      }
    });
  } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
    QObject::connect(button, &QPushButton::clicked, button, [&model, control] { model.deliver(control, EventKind::Clicked); });
  } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
    QObject::connect(check, &QCheckBox::toggled, check, [&model, control](bool on) {
      model.setChecked(control, on);
      model.deliver(control, EventKind::Clicked);
    });
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [&model, control](int index) {
      model.setCurrentItem(control, index);
      model.deliver(control, EventKind::SelectionChanged);
    });
  } else if (auto* tabs = dynamic_cast<TabPages*>(widget)) {
    tabs->onPageChosen([&model, control](int page) { model.setCurrentPage(control, page); });
  }
}

void ControlWidgets::applyAll() {
  for (const ControlSpec& spec : controlTable()) {
    const ControlState state = model_.state(spec.control);
    for (int p = 0; p <= static_cast<int>(Property::MinimumSize); ++p) apply(spec.control, static_cast<Property>(p), state);
  }
}

void ControlWidgets::applyShown(Control control, QWidget* widget, bool shown) {
  const ControlKind kind = specOf(control).kind;
  if (kind == ControlKind::CommonDialog) shown = false;
  widget->setVisible(shown);
  if (OptionSpin* spin = spins_[indexOf(control)]) spin->setVisible(shown);
  // The result panel stands above every other control.
  if (shown && control == Control::外形框_结果) widget->raise();
}

void ControlWidgets::applyColours(QWidget* widget, const ControlState& state) {
  QPalette colours = widget->palette();
  const bool ownGround = hasOwnColour(state.background);
  if (hasOwnColour(state.textColour)) {
    colours.setColor(QPalette::WindowText, toQColor(state.textColour));
    colours.setColor(QPalette::Text, toQColor(state.textColour));
  }
  if (ownGround) {
    colours.setColor(QPalette::Window, toQColor(state.background));
    colours.setColor(QPalette::Base, toQColor(state.background));
  }
  widget->setPalette(colours);
  if (qobject_cast<QLabel*>(widget)) widget->setAutoFillBackground(ownGround);
}

void ControlWidgets::applyText(Control control, QWidget* widget, const ControlState& state) {
  if (control == Control::QiruPK) {
    widget->window()->setWindowTitle(toQString(state.text));
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(withLineFeeds(state.text));
  } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    if (line->text() != toQString(state.text)) line->setText(toQString(state.text));
  } else if (auto* log = dynamic_cast<KeyLogBox*>(widget)) {
    log->showText(state.text, state.markedLines);
  } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
    button->setText(toQString(state.text));
  } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
    check->setText(toQString(state.text));
  }
}

void ControlWidgets::apply(Control control, Property property, const ControlState& state) {
  if (specOf(control).kind == ControlKind::Timer) {
    if (property != Property::TimerPeriod) return;
    if (state.timerPeriodMs > 0) {
      if (!timer_->isActive() || timer_->interval() != state.timerPeriodMs) timer_->start(state.timerPeriodMs);
    } else {
      timer_->stop();
    }
    return;
  }
  QWidget* widget = widgets_[indexOf(control)];
  const bool window = control == Control::QiruPK;
  switch (property) {
    case Property::Geometry:
      // The window takes its place and size from the model until it is
      // shown; from then on the platform and the user size it, and the
      // model follows the window.
      if (window && !widget->window()->isVisible()) {
        const Rect& g = state.geometry;
        widget->window()->move(g.left, g.top);
        widget->window()->resize(g.width - kWindowFrameSize.width, g.height - kWindowFrameSize.height);
      } else if (!window) {
        const Rect& g = state.geometry;
        widget->setGeometry(g.left, g.top, g.width, g.height);
        if (OptionSpin* spin = spins_[indexOf(control)]) spin->placeBeside(widget->geometry());
      }
      break;
    case Property::Shown:
      if (!window) applyShown(control, widget, state.shown);
      break;
    case Property::Enabled:
      widget->setEnabled(state.enabled);
      if (OptionSpin* spin = spins_[indexOf(control)]) spin->setEnabled(state.enabled);
      break;
    case Property::Text:
      applyText(control, widget, state);
      break;
    case Property::TextColour:
    case Property::Background:
      if (!window) applyColours(widget, state);
      break;
    case Property::Font:
      if (!window) widget->setFont(toQFont(state.font));
      break;
    case Property::Alignment:
      if (auto* label = qobject_cast<QLabel*>(widget)) label->setAlignment(toQtAlignment(state.alignment) | Qt::AlignVCenter);
      if (auto* line = qobject_cast<QLineEdit*>(widget)) line->setAlignment(toQtAlignment(state.alignment));
      break;
    case Property::Margins:
      if (auto* log = dynamic_cast<KeyLogBox*>(widget)) log->setMargins(state.margins);
      if (auto* line = qobject_cast<QLineEdit*>(widget)) line->setTextMargins(state.margins.left, 0, state.margins.right, 0);
      break;
    case Property::RichText:
    case Property::ParagraphFormat:
      if (auto* pane = dynamic_cast<RichPane*>(widget)) pane->showRuns(state.richText, state.paragraphFormat);
      break;
    case Property::FormatInsets:
      if (auto* pane = dynamic_cast<RichPane*>(widget)) pane->setFormatInsets(state.formatInsets);
      break;
    case Property::ComboItems:
      if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        const QSignalBlocker quiet(combo);
        combo->clear();
        for (const ComboItem& item : state.comboItems) combo->addItem(toQString(item.text), item.value);
        combo->setCurrentIndex(state.currentItem);
      }
      break;
    case Property::CurrentItem:
      if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        const QSignalBlocker quiet(combo);
        combo->setCurrentIndex(state.currentItem);
      }
      break;
    case Property::CurrentPage:
      if (auto* tabs = dynamic_cast<TabPages*>(widget)) tabs->setCurrentPage(state.currentPage);
      break;
    case Property::StatusPanes:
      if (auto* panes = dynamic_cast<StatusPanes*>(widget)) panes->showPanes(state.panes);
      break;
    case Property::Checked:
      if (auto* check = qobject_cast<QCheckBox*>(widget)) {
        const QSignalBlocker quiet(check);
        check->setChecked(state.checked);
      }
      break;
    case Property::Framed:
      if (auto* frame = qobject_cast<QFrame*>(widget); frame && specOf(control).kind == ControlKind::ShapeBox) {
        frame->setFrameShape(state.framed ? QFrame::StyledPanel : QFrame::NoFrame);
      }
      break;
    case Property::MinimumSize:
      if (window) {
        widget->window()->setMinimumSize(std::max(state.minimumSize.width - kWindowFrameSize.width, 0),
                                         std::max(state.minimumSize.height - kWindowFrameSize.height, 0));
      }
      break;
    case Property::CharFormat:
    case Property::TimerPeriod:
      break;
  }
}

}  // namespace qiru::ui::qt
