#include "app/remembered_options.h"

#include <QSettings>
#include <string>

#include "app/autoplay.h"
#include "app/single_instance.h"
#include "support/match_types.h"
#include "ui/option_boxes.h"

namespace qiru::app {
namespace {

using ui::Control;

constexpr Control kCountBoxes[] = {Control::编辑框_限时, Control::编辑框_争先, Control::编辑框_抢答,
                                   Control::编辑框_团队人数, Control::编辑框_团队条数, Control::编辑框_闪灭};

QString keyOf(std::string_view name) {
  return QString::fromLatin1(kInstanceName) + QStringLiteral("/options/") +
         QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

QString keyOf(Control control) { return keyOf(ui::controlName(control)); }

}  // namespace

void restoreMatchOptions(ui::ControlModel& model, Program& program) {
  const QSettings settings;
  const QVariant page = settings.value(keyOf(Control::选择夹_模式));
  if (page.isValid() && page.toInt() >= 0 && page.toInt() < kMatchModeCount) {
    model.setCurrentPage(Control::选择夹_模式, page.toInt());
  }
  for (const Control box : kCountBoxes) {
    const QVariant text = settings.value(keyOf(box));
    // A text the box would not take (an edited file) leaves the box as it is.
    if (text.isValid()) ui::enterText(model, box, text.toString().toStdString());
  }
  const QVariant flash = settings.value(keyOf(Control::选择框_闪灭));
  if (flash.isValid()) model.setChecked(Control::选择框_闪灭, flash.toBool());
  const std::string material = settings.value(keyOf(Control::组合框_素材)).toString().toStdString();
  const std::vector<ui::ComboItem> items = model.get(Control::组合框_素材, &ui::ControlState::comboItems);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!material.empty() && items[i].text == material) program.selectItemValue(items[i].value);
  }
}

void rememberMatchOptions(const ui::ControlModel& model) {
  QSettings settings;
  settings.setValue(keyOf(Control::选择夹_模式), model.get(Control::选择夹_模式, &ui::ControlState::currentPage));
  for (const Control box : kCountBoxes) settings.setValue(keyOf(box), QString::fromStdString(model.text(box)));
  settings.setValue(keyOf(Control::选择框_闪灭), model.get(Control::选择框_闪灭, &ui::ControlState::checked));
  const ui::ControlState materials = model.state(Control::组合框_素材);
  if (materials.currentItem >= 0 && materials.currentItem < static_cast<int>(materials.comboItems.size())) {
    settings.setValue(keyOf(Control::组合框_素材),
                      QString::fromStdString(materials.comboItems[static_cast<std::size_t>(materials.currentItem)].text));
  }
}

bool setUpMatchOptions(ui::ControlModel& model, Program& program, const AppOptions& options, std::string& refused) {
  if (!options.autoplay) restoreMatchOptions(model, program);
  return presetMatchOptions(model, program, options, refused);
}

void keepMatchOptions(const ui::ControlModel& model, const AppOptions& options) {
  if (!options.autoplay) rememberMatchOptions(model);
}

}  // namespace qiru::app
