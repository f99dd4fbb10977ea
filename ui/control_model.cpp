#include "ui/control_model.h"

#include <algorithm>
#include <string_view>

namespace qiru::ui {

namespace {

Rect withoutNegativeSize(Rect geometry) {
  geometry.width = std::max(geometry.width, 0);
  geometry.height = std::max(geometry.height, 0);
  return geometry;
}

// Index of the page a control sits on within its parent tab control's
// pages, or -1 when it sits on none.
int pageIndexOf(const ControlSpec& spec, const ControlState& parent) {
  if (spec.page.empty()) return -1;
  const auto page = std::find(parent.pages.begin(), parent.pages.end(), spec.page);
  return static_cast<int>(page - parent.pages.begin());
}

// CR LF pairs: the line breaks of a multi-line box's text.
std::size_t lineBreaksIn(std::string_view text) {
  std::size_t breaks = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string_view::npos; at = text.find("\r\n", at + 2)) ++breaks;
  return breaks;
}

}  // namespace

ControlModel::ControlModel() {
  for (const ControlSpec& spec : controlTable()) states_.push_back(initialState(spec));
}

ControlState ControlModel::state(Control control) const {
  std::lock_guard lock(mutex_);
  return states_[indexOf(control)];
}

bool ControlModel::isVisible(Control control) const {
  std::lock_guard lock(mutex_);
  for (std::optional<Control> at = control; at.has_value();) {
    const ControlSpec& spec = specOf(*at);
    if (!states_[indexOf(*at)].shown) return false;
    if (spec.parent.has_value()) {
      const int page = pageIndexOf(spec, states_[indexOf(*spec.parent)]);
      if (page >= 0 && page != states_[indexOf(*spec.parent)].currentPage) return false;
    }
    at = spec.parent;
  }
  return true;
}

void ControlModel::setGeometry(Control control, Rect geometry) {
  put(control, Property::Geometry, &ControlState::geometry, withoutNegativeSize(geometry));
}

void ControlModel::editGeometry(Control control, int Rect::*member, int value) {
  modify(control, Property::Geometry, [&](ControlState& state) {
    Rect geometry = state.geometry;
    geometry.*member = value;
    geometry = withoutNegativeSize(geometry);
    if (geometry == state.geometry) return false;
    state.geometry = geometry;
    return true;
  });
}

void ControlModel::setLeft(Control control, int left) { editGeometry(control, &Rect::left, left); }
void ControlModel::setTop(Control control, int top) { editGeometry(control, &Rect::top, top); }
void ControlModel::setWidth(Control control, int width) { editGeometry(control, &Rect::width, width); }
void ControlModel::setHeight(Control control, int height) { editGeometry(control, &Rect::height, height); }

void ControlModel::setText(Control control, std::string text) {
  modify(control, Property::Text, [&](ControlState& state) {
    if (state.text == text && state.markedLines.empty()) return false;
    state.text = std::move(text);
    state.markedLines.clear();
    state.lineBreaks = lineBreaksIn(state.text);
    return true;
  });
}

void ControlModel::appendText(Control control, const std::string& text, bool markLastLine) {
  modify(control, Property::Text, [&](ControlState& state) {
    // A CR at the end of the text and an LF at the start of the addition
    // make a break between them.
    const bool joinsABreak = state.text.ends_with('\r') && text.starts_with('\n');
    state.text += text;
    state.lineBreaks += lineBreaksIn(text) + (joinsABreak ? 1 : 0);
    // Lines end with CR LF: the last line's number is the count of breaks.
    if (markLastLine) state.markedLines.push_back(static_cast<int>(state.lineBreaks));
    return !text.empty();
  });
}

void ControlModel::editPane(Control control, int pane, const std::function<bool(StatusPane&)>& edit) {
  modify(control, Property::StatusPanes, [&](ControlState& state) {
    if (pane < 0 || pane >= static_cast<int>(state.panes.size())) return false;
    return edit(state.panes[pane]);
  });
}

void ControlModel::setStatusPaneText(Control control, int pane, std::string text) {
  editPane(control, pane, [&](StatusPane& target) {
    if (target.text == text) return false;
    target.text = std::move(text);
    return true;
  });
}

void ControlModel::setStatusPaneWidth(Control control, int pane, int width) {
  editPane(control, pane, [&](StatusPane& target) {
    if (target.width == width) return false;
    target.width = width;
    return true;
  });
}

void ControlModel::resizeWindow(Size size) {
  Rect window;
  modify(Control::QiruPK, Property::Geometry, [&](ControlState& state) {
    const Rect old = state.geometry;
    state.geometry.width = std::max(size.width, state.minimumSize.width);
    state.geometry.height = std::max(size.height, state.minimumSize.height);
    window = state.geometry;
    return state.geometry != old;
  });
  const int statusHeight = geometry(Control::状态条1).height;
  setGeometry(Control::状态条1, {0, window.height - kWindowFrameSize.height - statusHeight,
                                window.width - kWindowFrameSize.width, statusHeight});
  deliver(Control::QiruPK, EventKind::SizeChanged);
}

void ControlModel::setChangeListener(ChangeListener listener) {
  std::lock_guard lock(mutex_);
  listener_ = std::move(listener);
}

int ControlModel::addChangeListener(ChangeListener listener) {
  std::lock_guard lock(mutex_);
  moreListeners_.emplace_back(++lastListenerNumber_, std::move(listener));
  return lastListenerNumber_;
}

void ControlModel::removeChangeListener(int number) {
  std::lock_guard lock(mutex_);
  std::erase_if(moreListeners_, [number](const auto& entry) { return entry.first == number; });
}

void ControlModel::setHandler(Control control, EventKind kind, EventHandler handler) {
  std::lock_guard lock(mutex_);
  handlers_[{control, kind}] = std::move(handler);
}

void ControlModel::deliver(const ControlEvent& event) {
  EventHandler handler;
  {
    std::lock_guard lock(mutex_);
    const auto found = handlers_.find({event.control, event.kind});
    if (found == handlers_.end()) return;
    handler = found->second;
  }
  if (handler) handler(event);
}

}  // namespace qiru::ui
