#include "ui/control_state.h"

namespace qiru::ui {

namespace {
constexpr int kStatusPaneCount = 2;  // red side, blue side
}  // namespace

ControlState initialState(const ControlSpec& spec) {
  ControlState state;
  state.geometry = spec.geometry;
  state.shown = spec.shown;
  state.text = spec.text;
  state.textColour = spec.look.textColour;
  state.background = spec.look.background;
  state.font = spec.look.font;
  state.alignment = spec.look.alignment;
  state.editStyle = spec.editStyle;
  state.pages.assign(spec.pages.begin(), spec.pages.end());
  if (spec.kind == ControlKind::StatusBar) {
    state.panes.assign(kStatusPaneCount, StatusPane{"", spec.geometry.width / kStatusPaneCount});
  }
  return state;
}

}  // namespace qiru::ui
