// The start of a round: the settings from the window, fresh counters and
// displays, and the material loaded for as many entries as the mode needs.

#include "match/key_record.h"
#include "match/match_engine.h"
#include "materials/material_file.h"

namespace qiru {

bool MatchEngine::prepareMatch() {
  const SettingsRead read = readMatchSettings(model_, settings_);
  for (SideState& side : sides_) {
    side.entryPosition = 0;
    side.roundScore = 0;
    side.keyCount = 0;
    side.input.clear();
    if (read.newRelayOrMatch) side.teamTotal = 0;
  }
  roundStopped_ = false;
  resetDisplays();
  settings_ = read.settings;
  eventQueue_.clear();
  eventsQueued_ = false;
  return loadMaterial(read.entriesToLoad);
}

void MatchEngine::resetDisplays() {
  using ui::Control;
  model_.setText(Control::标签_一号机成绩, "0");
  model_.setText(Control::标签_二号机成绩, "0");
  model_.setRichText(Control::超级编辑框_题目1, {});
  model_.setRichText(Control::超级编辑框_题目2, {});
  for (const Control control : {Control::编辑框_一号机按键, Control::编辑框_二号机按键, Control::标签_辅助信息1,
                                Control::标签_辅助信息2}) {
    model_.setText(control, "");
  }
  for (const std::int32_t s : {1, 2}) model_.setText(keyRecordBox(s), std::string(keyRecordHeading(s)));
}

bool MatchEngine::loadMaterial(std::int32_t entries) {
  const ui::ControlState combo = model_.state(ui::Control::组合框_素材);
  const int current = combo.currentItem;
  const std::filesystem::path path =
      current >= 0 && current < static_cast<int>(combo.comboItems.size())
          ? bank_.pathOf(combo.comboItems[static_cast<std::size_t>(current)].value)
          : std::filesystem::path();
  materialPath_ = path;
  if (path.empty()) {
    MessageRequest request;
    request.caption = std::string(kNoMaterialCaption);
    request.text = std::string(kNoMaterialText);
    request.icon = MessageIcon::Error;
    request.timeoutMs = kNoMaterialMessageMs;
    messages_.show(request);
    return false;
  }
  return loadMaterialFile(materials_, path, entries, &messages_);
}

}  // namespace qiru
