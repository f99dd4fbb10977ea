#include "match/match_settings.h"

#include <algorithm>
#include <limits>

#include "ui/option_boxes.h"

namespace qiru {
namespace {

std::int32_t boxValue(const ui::ControlModel& model, ui::Control box) {
  return ui::integerValue(model.text(box));
}

// A box's value times a unit, held within 32 bits: a value typed beyond
// anything the spin buttons reach must not wrap round into a round that
// ends at once.
std::int32_t timesUnit(std::int32_t value, std::int32_t unit) {
  const std::int64_t product = static_cast<std::int64_t>(value) * unit;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(product, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
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
      settings.timeLimitMs = timesUnit(boxValue(model, Control::编辑框_限时), kMsPerMinute);
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
        // A relay of no members would never reach its last member and
        // never give its final verdict: fewer than one plays as one.
        settings.teamSize = std::max(boxValue(model, Control::编辑框_团队人数), 1);
      }
      break;
  }
  read.entriesToLoad = settings.mode == MatchMode::TimedRace
                           ? timesUnit(boxValue(model, Control::编辑框_限时), kEntriesPerMinute)
                           : settings.entryLimit;
  return read;
}

}  // namespace qiru
