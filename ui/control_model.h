#pragma once
// The main window as data: every control's state, safe to read and write
// from any thread, with no drawing in it. The match engine and start-up
// write it, the renderer follows it through the change listener, tests read
// it. Window events come in through deliver() and reach the handlers that
// the application registered.
//
// A write never waits for the thread that draws: it changes the state under
// the model's own lock and passes the change to the listener, which queues
// it. A write that changes nothing is not passed on.

#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "ui/control_change.h"
#include "ui/control_events.h"

namespace qiru::ui {

// What the main window's size has beyond its client area: the border and the
// title bar.
inline constexpr Size kWindowFrameSize{6, 29};

class ControlModel {
 public:
  ControlModel();
  ControlModel(const ControlModel&) = delete;
  ControlModel& operator=(const ControlModel&) = delete;

  // Reading.
  ControlState state(Control control) const;
  template <typename T>
  T get(Control control, T ControlState::*member) const {
    std::lock_guard lock(mutex_);
    return states_[indexOf(control)].*member;
  }
  Rect geometry(Control control) const { return get(control, &ControlState::geometry); }
  std::string text(Control control) const { return get(control, &ControlState::text); }
  bool shown(Control control) const { return get(control, &ControlState::shown); }
  // Whether the user can see it: it and every parent are shown, and a
  // control on a tab page sits on the current page.
  bool isVisible(Control control) const;

  // Writing. Sizes below 0 become 0.
  void setGeometry(Control control, Rect geometry);
  void setLeft(Control control, int left);
  void setTop(Control control, int top);
  void setWidth(Control control, int width);
  void setHeight(Control control, int height);
  void setShown(Control c, bool v) { put(c, Property::Shown, &ControlState::shown, v); }
  void setEnabled(Control c, bool v) { put(c, Property::Enabled, &ControlState::enabled, v); }
  void setText(Control control, std::string text);
  // Appends to an edit box's text; `markLastLine` draws its last line as a
  // warning.
  void appendText(Control control, const std::string& text, bool markLastLine = false);
  void setTextColour(Control c, Colour v) { put(c, Property::TextColour, &ControlState::textColour, v); }
  void setBackground(Control c, Colour v) { put(c, Property::Background, &ControlState::background, v); }
  void setFont(Control c, Font v) { put(c, Property::Font, &ControlState::font, std::move(v)); }
  void setAlignment(Control c, Alignment v) { put(c, Property::Alignment, &ControlState::alignment, v); }
  void setMargins(Control c, Margins v) { put(c, Property::Margins, &ControlState::margins, v); }
  void setRichText(Control c, RichText v) { put(c, Property::RichText, &ControlState::richText, std::move(v)); }
  void setCharFormat(Control c, CharFormat v) { put(c, Property::CharFormat, &ControlState::charFormat, std::move(v)); }
  void setParagraphFormat(Control c, ParagraphFormat v) { put(c, Property::ParagraphFormat, &ControlState::paragraphFormat, v); }
  void setFormatInsets(Control c, Insets v) { put(c, Property::FormatInsets, &ControlState::formatInsets, v); }
  void setComboItems(Control c, std::vector<ComboItem> v) { put(c, Property::ComboItems, &ControlState::comboItems, std::move(v)); }
  void setCurrentItem(Control c, int v) { put(c, Property::CurrentItem, &ControlState::currentItem, v); }
  void setCurrentPage(Control c, int v) { put(c, Property::CurrentPage, &ControlState::currentPage, v); }
  void setStatusPaneText(Control control, int pane, std::string text);
  void setStatusPaneWidth(Control control, int pane, int width);
  void setTimerPeriod(Control c, int v) { put(c, Property::TimerPeriod, &ControlState::timerPeriodMs, v); }
  void setChecked(Control c, bool v) { put(c, Property::Checked, &ControlState::checked, v); }
  void setFramed(Control c, bool v) { put(c, Property::Framed, &ControlState::framed, v); }
  void setMinimumSize(Control c, Size v) { put(c, Property::MinimumSize, &ControlState::minimumSize, v); }

  // The main window's size as the user or the platform sets it: never below
  // its minimum size. The status bar stays docked along the bottom of the
  // client area. Then the window's size-changed handler runs.
  void resizeWindow(Size size);

  // The renderer's listener; a new one replaces the old.
  void setChangeListener(ChangeListener listener);
  // Listeners beside the renderer's (the printer of key records and results):
  // each hears every change after it. The number takes it off again.
  int addChangeListener(ChangeListener listener);
  void removeChangeListener(int number);

  // One handler per control and event; a new one replaces the old.
  void setHandler(Control control, EventKind kind, EventHandler handler);
  // Runs the event's handler, if any, on the calling thread. The handler
  // runs without the model's lock held, so it may read and write the model.
  void deliver(const ControlEvent& event);
  void deliver(Control control, EventKind kind, int argument = 0) { deliver({control, kind, argument}); }

 private:
  // Runs change() on the control's state under the lock; when it reports a
  // change, the listener hears of it.
  template <typename Change>
  void modify(Control control, Property property, Change change) {
    std::lock_guard lock(mutex_);
    ControlState& state = states_[indexOf(control)];
    if (!change(state)) return;
    const ControlChange made{control, property, state};
    if (listener_) listener_(made);
    for (const auto& [number, listener] : moreListeners_) listener(made);
  }
  template <typename T>
  void put(Control control, Property property, T ControlState::*member, T value) {
    modify(control, property, [&](ControlState& state) {
      if (state.*member == value) return false;
      state.*member = std::move(value);
      return true;
    });
  }
  void editGeometry(Control control, int Rect::*member, int value);
  void editPane(Control control, int pane, const std::function<bool(StatusPane&)>& edit);

  mutable std::mutex mutex_;
  std::vector<ControlState> states_;
  ChangeListener listener_;
  std::vector<std::pair<int, ChangeListener>> moreListeners_;
  int lastListenerNumber_ = 0;
  std::map<std::pair<Control, EventKind>, EventHandler> handlers_;
};

}  // namespace qiru::ui
