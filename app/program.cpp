#include "app/program.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QMessageBox>
#include <QShortcut>
#include <utility>

#include "app/keyboard_layout.h"
#include "app/keyboard_prompts.h"
#include "app/single_instance.h"
#include "device/side.h"
#include "materials/material_import.h"
#include "materials/utf8_path.h"
#include "steno/builtin_scheme.h"
#include "support/clock.h"
#include "support/match_types.h"
#include "ui/main_window_layout.h"
#include "ui/question_pane.h"
#include "ui/window_setup.h"

namespace qiru::app {
namespace {

using ui::Control;
using ui::EventKind;

// The dialog's filter as Qt writes it: the name part of "name|pattern".
QString dialogFilterOf(std::string_view filter) {
  const std::string_view name = filter.substr(0, filter.find('|'));
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

constexpr std::string_view kStopRoundCaption = "提示";
constexpr std::string_view kStopRoundQuestion = "结束本局比赛？";

// Lets the window draw while a large bank is scanned.
void serveWindow() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

}  // namespace

Program::Program(ui::ControlModel& model, ui::qt::MainWindow& window, MessageService& messages, const AppOptions& options,
                 const std::filesystem::path& bankFolder, MachineBackend machines)
    : model_(model),
      window_(window),
      messages_(messages),
      bank_(bankFolder),
      materials_(&messages),
      labels_(model),
      virtual_(realClock()),
      usb_(std::move(machines.usb)),
      engine_(model, realClock(), messages, materials_, bank_) {
  ui::setUpMainWindow(model_);
  installWindowHandlers();
  installStopKeys();
  installMatchHandlers(model_, engine_);
  fillMaterialBox();
  const MatchPrompts prompts = machines.machines == MachineSource::Keyboard ? keyboardPrompts() : MatchPrompts{};
  engine_.setPrompts(prompts);
  ui::showTwoLines(model_, Control::超级编辑框_题目1, std::string(kIdleHeadline), prompts.idleNote);
  startMachines(options, machines.machines);
  loadFingeringScheme(&messages_);
}

void Program::installWindowHandlers() {
  model_.setHandler(Control::QiruPK, EventKind::SizeChanged, [this](const ui::ControlEvent&) {
    const auto mode = static_cast<MatchMode>(model_.get(Control::选择夹_模式, &ui::ControlState::currentPage));
    ui::layOutMainWindow(model_, engine_.state(), mode);
  });
  model_.setHandler(Control::按钮_选择, EventKind::Clicked, [this](const ui::ControlEvent&) { chooseAndImport(); });
  model_.setHandler(Control::组合框_素材, EventKind::SelectionChanged, [this](const ui::ControlEvent&) { onMaterialChosen(); });
}

void Program::installStopKeys() {
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), &window_);
  QObject::connect(escape, &QShortcut::activated, &window_, [this] { askToStopRound(); });
  // Closing the window while a round runs asks first; a stopped round's
  // result is then recorded before the program ends.
  window_.setCloseGuard([this] {
    const MatchState state = engine_.state();
    return (state != MatchState::CountingDown && state != MatchState::Running) || askToStopRound();
  });
}

bool Program::askToStopRound() {
  const MatchState state = engine_.state();
  if (state != MatchState::CountingDown && state != MatchState::Running) return false;
  MessageRequest request;
  request.caption = std::string(kStopRoundCaption);
  request.text = std::string(kStopRoundQuestion);
  request.buttons = MessageButtons::YesNo;
  request.icon = MessageIcon::Question;
  if (messages_.show(request) != AnswerYes) return false;
  engine_.stopRound();
  return true;
}

void Program::fillMaterialBox() {
  bank_.scanQuestionBank(serveWindow);
  std::vector<ui::ComboItem> items;
  for (std::int32_t value = 1; value <= bank_.count(); ++value) {
    items.push_back({bank_.materials()[static_cast<std::size_t>(value - 1)].displayName, value});
  }
  model_.setComboItems(Control::组合框_素材, items);
  const int current = model_.get(Control::组合框_素材, &ui::ControlState::currentItem);
  if (!items.empty() && (current < 0 || current >= static_cast<int>(items.size()))) {
    model_.setCurrentItem(Control::组合框_素材, 0);
  }
}

std::filesystem::path Program::selectedMaterial() const {
  const ui::ControlState box = model_.state(Control::组合框_素材);
  if (box.currentItem < 0 || box.currentItem >= static_cast<int>(box.comboItems.size())) return {};
  return bank_.pathOf(box.comboItems[static_cast<std::size_t>(box.currentItem)].value);
}

void Program::selectItemValue(std::int32_t itemValue) {
  const std::vector<ui::ComboItem> items = model_.get(Control::组合框_素材, &ui::ControlState::comboItems);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].value == itemValue) model_.setCurrentItem(Control::组合框_素材, static_cast<int>(i));
  }
  onMaterialChosen();
}

void Program::startMachines(const AppOptions& options, MachineSource machines) {
  if (usb_) {
    // A missing machine 2 is simulated by the match, as ever.
    path_.emplace(*usb_, realClock(), messages_, labels_, engine_);
  } else {
    const bool keyboard = machines == MachineSource::Keyboard;
    virtual_.attach(deviceIndexOf(kRedSide),
                    std::make_shared<VirtualMachine>(keyboard ? kKeyboardMachineNumber : kBotMachineNumbers[0],
                                                     kVirtualSecondNumber));
    // No machine 2 at all: the match simulates it, as with one USB machine.
    if (options.blue) {
      virtual_.attach(deviceIndexOf(kBlueSide),
                      std::make_shared<VirtualMachine>(kBotMachineNumbers[1], kVirtualSecondNumber));
    }
    path_.emplace(virtual_, realClock(), messages_, labels_, engine_);
  }
  machines_.emplace(path_->machines());
  engine_.attachMachines(*machines_);
  if (usb_) return;

  const auto seed = static_cast<std::uint64_t>(realClock().nowMs());
  if (machines == MachineSource::Keyboard) {
    keyboard_ = std::make_unique<KeyboardMachine>(virtual_, deviceIndexOf(kRedSide), realClock(), &window_,
                                                  [this] { showKeyboardLayout(); });
    qApp->installEventFilter(keyboard_.get());
  } else if (options.red) {
    red_ = std::make_unique<OpponentBot>(realClock(), virtual_, engine_, kRedSide, *options.red, seed);
  }
  if (options.blue) blue_ = std::make_unique<OpponentBot>(realClock(), virtual_, engine_, kBlueSide, *options.blue, ~seed);
  // Bots report in by themselves only beside a person; with two bots the
  // referee reports both in and starts the rounds.
  if (keyboard_ && blue_) {
    blueReportsIn_ = std::make_unique<BotReportIn>(realClock(), virtual_, engine_, path_->machines(), kBlueSide);
  }
  onMaterialChosen();
}

void Program::onMaterialChosen() {
  const std::filesystem::path material = selectedMaterial();
  for (OpponentBot* bot : {red_.get(), blue_.get()}) {
    if (bot != nullptr) bot->useMaterial(material);
  }
}

void Program::chooseAndImport() {
  // The folder of the last import, else the user's home folder.
  QSettings settings;
  const QString lastFolderKey = QString::fromLatin1(kInstanceName) + QStringLiteral("/importFolder");
  QString folder = settings.value(lastFolderKey).toString();
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  const QString chosen = QFileDialog::getOpenFileName(&window_, QStringLiteral("导入比赛素材"), folder,
                                                      dialogFilterOf(kImportDialogFilter));
  if (chosen.isEmpty()) return;
  settings.setValue(lastFolderKey, QFileInfo(chosen).absolutePath());
  importChosen(pathFromUtf8(chosen.toStdString()));
}

void Program::importChosen(const std::filesystem::path& chosen) {
  const ImportOutcome outcome = importMaterial(bank_, chosen, &messages_);
  if (outcome.kind == ImportOutcome::Kind::Added) {
    std::vector<ui::ComboItem> items = model_.get(Control::组合框_素材, &ui::ControlState::comboItems);
    items.push_back({bank_.materials()[static_cast<std::size_t>(outcome.itemValue - 1)].displayName, outcome.itemValue});
    model_.setComboItems(Control::组合框_素材, items);
  }
  if (outcome.kind == ImportOutcome::Kind::Added || outcome.kind == ImportOutcome::Kind::Selected) {
    selectItemValue(outcome.itemValue);
  }
}

void Program::showKeyboardLayout() {
  QMessageBox box(QMessageBox::Information, QStringLiteral("键盘键位"), QString::fromStdString(keyboardLayoutText()),
                  QMessageBox::Ok, &window_);
  box.setObjectName(QStringLiteral("keyboardLayout"));
  QFont mono = box.font();
  mono.setFamilies({QStringLiteral("WenQuanYi Zen Hei Mono"), QStringLiteral("DejaVu Sans Mono"), mono.family()});
  box.setFont(mono);
  box.exec();
}

void Program::stop() {
  if (stopped_) return;
  stopped_ = true;
  model_.setHandler(Control::时钟1, EventKind::TimerTick, {});
  model_.setTimerPeriod(Control::时钟1, 0);
  if (keyboard_) qApp->removeEventFilter(keyboard_.get());
  for (OpponentBot* bot : {red_.get(), blue_.get()}) {
    if (bot != nullptr) bot->stop();
  }
  if (blueReportsIn_) blueReportsIn_->stop();
  if (path_) path_->stop();
  // Its worker may be in a round's result pause, and then clears the
  // machines' queues: it ends before they are let go.
  engine_.stop();
  if (path_) {
    // The USB library's threads run on until it goes; from here on they
    // call nothing of the program's.
    path_->machines().disconnect();
  }
  virtual_.shutdown();
}

}  // namespace qiru::app
