#include "app/autoplay.h"

#include <QApplication>
#include <QPixmap>
#include <QWidget>
#include <iostream>
#include <string_view>
#include <vector>

#include "device/side.h"
#include "device/virtual/chord_player.h"
#include "materials/material_file.h"
#include "materials/utf8_path.h"
#include "app/struck_chord.h"
#include "support/headless_messages.h"
#include "ui/option_boxes.h"

namespace qiru::app {
namespace {

using ui::Control;

// How often the referee looks at the match.
constexpr int kRefereeLookMs = 100;
// A pause on the idle screen before the next round, so that people can
// read it; and between the report-in keys and the start key.
constexpr std::int64_t kIdlePauseMs = 1500;
constexpr std::int64_t kReportInGapMs = 400;
// The result panel draws before the screenshot is taken.
constexpr int kScreenshotDelayMs = 300;

}  // namespace

std::optional<std::string> whyAutoplayCannotStart(Program& program) {
  const std::filesystem::path material = program.selectedMaterial();
  const std::string bank = utf8Of(program.bank().folder());
  if (material.empty()) {
    std::error_code error;
    if (!std::filesystem::is_directory(program.bank().folder(), error)) {
      return "the question bank \"" + bank + "\" is no folder; name a bank folder with --bank DIR, or a material"
             " with --material FILE";
    }
    return "the question bank \"" + bank + "\" holds no material; put material files into it, or name one with"
           " --material FILE";
  }
  HeadlessMessages told;
  MaterialSet set(&told);
  if (loadMaterialFile(set, material, 0, &told)) return std::nullopt;
  std::string why = "the material \"" + utf8Of(material) + "\" cannot start a match";
  for (const HeadlessMessages::Record& record : told.records()) {
    std::string text = record.request.text;
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, " ");
    why += ": " + text;
  }
  return why + "; check it with qiru-steno check";
}

bool presetMatchOptions(ui::ControlModel& model, Program& program, const AppOptions& options, std::string& error) {
  // Without --mode, the entries go to the box of the mode the window shows
  // (the one kept from last time): that is the mode that will be played.
  const MatchMode mode =
      options.mode.value_or(static_cast<MatchMode>(model.get(Control::选择夹_模式, &ui::ControlState::currentPage)));
  if (options.mode) model.setCurrentPage(Control::选择夹_模式, static_cast<int>(mode));
  const std::pair<Control, const std::optional<std::string>*> boxes[] = {
      {Control::编辑框_限时, &options.minutes},
      {ui::entryBoxOf(mode), &options.entries},
      {Control::编辑框_团队人数, &options.members},
      {Control::编辑框_闪灭, &options.flashSeconds}};
  for (const auto& [box, text] : boxes) {
    if (*text && !ui::enterText(model, box, **text)) {
      error = std::string(ui::controlName(box)) + " does not take \"" + **text + "\"";
      return false;
    }
  }
  if (options.flashSeconds) model.setChecked(Control::选择框_闪灭, true);
  if (options.material) {
    std::int32_t value = program.bank().itemValueOf(*options.material);
    if (value == 0) {
      const std::string name = displayNameOf(options.material->filename());
      value = program.bank().add(*options.material, name);
      std::vector<ui::ComboItem> items = model.get(Control::组合框_素材, &ui::ControlState::comboItems);
      items.push_back({name, value});
      model.setComboItems(Control::组合框_素材, items);
    }
    program.selectItemValue(value);
  }
  return true;
}

MatchReferee::MatchReferee(ui::ControlModel& model, Program& program, QWidget& window, const AppOptions& options)
    : model_(model), program_(program), window_(window), options_(options) {
  connect(&timer_, &QTimer::timeout, this, [this] { look(); });
  timer_.start(kRefereeLookMs);
}

std::int32_t MatchReferee::roundsToPlay() const {
  if (model_.get(Control::选择夹_模式, &ui::ControlState::currentPage) != static_cast<int>(MatchMode::TeamRelay)) return 1;
  return std::max(ui::integerValue(model_.text(Control::编辑框_团队人数)), 1);
}

void MatchReferee::look() {
  const MatchState state = program_.engine().state();
  if (state == MatchState::ResultShown && roundStarted_) {
    roundStarted_ = false;
    roundOver();
    return;
  }
  if (state != MatchState::Idle) {
    idleSince_.reset();
    return;
  }
  const std::int64_t now = realClock().nowMs();
  if (!idleSince_) idleSince_ = now;
  if (!roundStarted_ && now - *idleSince_ >= kIdlePauseMs) startRound();
}

void MatchReferee::startRound() {
  roundStarted_ = true;
  VirtualCh375& library = program_.virtualMachines();
  const std::int64_t now = realClock().nowMs();
  ChordPlayer(library, kRedSide - 1).play(now, keysOfChord(kReportInChord));
  if (program_.hasMachine2()) ChordPlayer(library, kBlueSide - 1).play(now, keysOfChord(kReportInChord));
  ChordPlayer(library, kRedSide - 1).play(now + kReportInGapMs, keysOfChord(kStartChord));
}

void MatchReferee::roundOver() {
  ++roundsPlayed_;
  if (!options_.autoplay || roundsPlayed_ < roundsToPlay()) return;
  timer_.stop();
  QTimer::singleShot(kScreenshotDelayMs, this, [this] {
    if (options_.screenshot) {
      const QString file = QString::fromStdString(options_.screenshot->string());
      if (!window_.grab().save(file, "PNG")) {
        std::cerr << "qiru-pk: could not save the screenshot to " << options_.screenshot->string()
                  << "; check that its folder exists and may be written to\n";
      }
    }
    QApplication::quit();
  });
}

}  // namespace qiru::app
