#include "match/match_settings.h"

#include "ui/option_boxes.h"

namespace qiru {
namespace {

std::int32_t boxValue(const ui::ControlModel& model, ui::Control box) {
  return ui::integerValue(model.text(box));
}

}  // namespace

SettingsRead readMatchSettings(const ui::ControlModel& model, const MatchSettings& previous) {
  using ui::Control;
  SettingsRead read{previous, true, 0};
  MatchSettings& settings = read.settings;
  // Truncated, not rounded: 0.3 s gives 300 ms.
  settings.flashMs = model.get(Control::选择框_闪灭, &ui::ControlState::checked)
                         ? static_cast<std::int32_t>(ui::decimalValue(model.text(Control::编辑框_闪灭)) * kMsPerSecond)
                         : 0;
  settings.mode = static_cast<MatchMode>(model.get(Control::选择夹_模式, &ui::ControlState::currentPage));
  settings.timeLimitMs = 0;
  settings.entryLimit = 0;
  settings.teamSize = 1;
  settings.memberNumber = 1;
  switch (settings.mode) {
    case MatchMode::TimedRace:
      settings.timeLimitMs = boxValue(model, Control::编辑框_限时) * kMsPerMinute;
      break;
    case MatchMode::RaceToFinish:
      settings.entryLimit = boxValue(model, Control::编辑框_争先);
      break;
    case MatchMode::QuickAnswer:
      settings.entryLimit = boxValue(model, Control::编辑框_抢答);
      break;
    case MatchMode::TeamRelay:
      if (previous.relayInProgress()) {
        settings.entryLimit = previous.entryLimit;
        settings.teamSize = previous.teamSize;
        settings.memberNumber = previous.memberNumber;
        read.newRelayOrMatch = false;
      } else {
        settings.entryLimit = boxValue(model, Control::编辑框_团队条数);
        settings.teamSize = boxValue(model, Control::编辑框_团队人数);
      }
      break;
  }
  read.entriesToLoad = settings.mode == MatchMode::TimedRace
                           ? boxValue(model, Control::编辑框_限时) * kEntriesPerMinute
                           : settings.entryLimit;
  return read;
}

}  // namespace qiru
