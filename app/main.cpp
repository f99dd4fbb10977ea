// qiru-pk: the head-to-head match window. The start-up runs in the order
// the window's created handler runs it: the guards first (nothing is open
// yet, so a refused start just ends), then the bank folder, then the
// program proper, then the window appears.

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <iostream>
#include <utility>

#include "app/autoplay.h"
#include "app/bank_location.h"
#include "app/command_line.h"
#include "app/match_records.h"
#include "app/program.h"
#include "app/remembered_options.h"
#include "app/remembered_window.h"
#include "app/results_printer.h"
#include "app/startup_guards.h"
#include "app/startup_probe.h"
#include "app/usb_machines.h"
#include "history/history_location.h"
#include "materials/utf8_path.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_message_pump.h"
#include "ui/qt/qt_messages.h"

namespace {

using namespace qiru;

// Qt's own dialogs (file dialog, message-box buttons) speak Chinese, as
// the program does, from Debian's Qt translations (qt6-translations-l10n).

// The system's default face with Chinese glyphs, at the size of the
// Windows default (9 points).
void useChineseDefaultFont() {
  QFont font = QApplication::font();
  font.setFamilies({QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC"), font.family()});
  font.setPixelSize(12);
  QApplication::setFont(font);
}

std::vector<std::string> argumentsOf(int argc, char** argv) { return {argv + 1, argv + argc}; }

// Autoplay runs without a screen too: then the window is drawn offscreen.
void drawOffscreenWithoutDisplay() {
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr &&
      std::getenv("QT_QPA_PLATFORM") == nullptr) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool probe = app::startupProbeWanted();
  const app::ParsedCommandLine parsed = app::parseCommandLine(argumentsOf(argc, argv));
  if (!parsed.error.empty()) {
    std::cerr << "qiru-pk: " << parsed.error << "\n" << app::usageText();
    return 2;
  }
  if (parsed.options.help) {
    std::cout << app::usageText();
    return 0;
  }
  if (parsed.options.autoplay) drawOffscreenWithoutDisplay();
  QApplication application(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("qiru-pk"));
  QApplication::setApplicationName(QStringLiteral("qiru-pk"));
  useChineseDefaultFont();
  QTranslator qtTexts;
  if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTexts);
  }
  ui::qt::QtMessagePump pump;
  const ScopedMessagePump servesTheWindow(pump);

  ui::ControlModel model;
  ui::qt::MainWindow window(model);
  ui::qt::QtMessages messages;
  messages.setOwner(&window);

  if (!app::passSiblingGuard(messages)) return 0;
  // An autoplay match uses no machine of the user's and may run beside the
  // window; only the window runs once.
  app::SingleInstance instance(app::runtimeFolder());
  if (!parsed.options.autoplay) {
    if (!app::passSingleInstanceGuard(instance, messages, QCoreApplication::applicationFilePath().toStdString())) return 0;
    instance.serve([&window] {
      window.showNormal();
      window.raise();
      window.activateWindow();
    });
  }

  app::BankPlaces places = app::installedBankPlaces(pathFromUtf8(QCoreApplication::applicationDirPath().toStdString()));
  places.override = parsed.options.bank;
  const std::filesystem::path bank = app::chooseBankFolder(places);
  app::prepareBankFolder(places, bank);

  // The USB machines' problems show as boxes of the window: decided once
  // the message boxes have their owner.
  app::MachineBackend machines =
      app::chooseMachineBackend(parsed.options.machines, app::usbStarter(parsed.options.usbIds, messages), std::cerr);
  if (!machines.error.empty()) {
    std::cerr << "qiru-pk: " << machines.error << "\n";
    return 1;
  }
  const app::MachineSource machineSource = machines.machines;
  app::Program program(model, window, messages, parsed.options, bank, std::move(machines));
  // Bots playing on their own (--autoplay) keep no history unless told where.
  const std::optional<std::string_view> historyOption =
      parsed.options.history ? std::optional<std::string_view>(*parsed.options.history)
                             : (parsed.options.autoplay ? std::optional(kNoHistory) : std::nullopt);
  const std::filesystem::path history = chooseHistoryFile(historyOption, places.programDir);
  app::MatchRecords records(window, program.engine(), history, messages,
                           [&program](const MachineNames& names) { program.nameMachines(names); });
  model.setHandler(ui::Control::QiruPK, ui::EventKind::AboutToBeDestroyed, [&](const ui::ControlEvent&) {
    messages.close();
    program.stop();
  });

  std::string refused;
  if (!app::setUpMatchOptions(model, program, parsed.options, refused)) {
    std::cerr << "qiru-pk: " << refused << "\n";
    return 2;
  }
  if (parsed.options.autoplay) {
    // A match that cannot start would leave the referee waiting for ever.
    if (const std::optional<std::string> why = app::whyAutoplayCannotStart(program)) {
      std::cerr << "qiru-pk: " << *why << "\n";
      return 1;
    }
  }
  std::optional<app::ResultsPrinter> printer;
  if (parsed.options.printResults) printer.emplace(program.engine(), std::cout);
  std::optional<app::MatchReferee> referee;
  if (machineSource == app::MachineSource::Bots) {
    referee.emplace(model, program, window, parsed.options);
  }

  window.applyPendingChanges();
  if (!parsed.options.autoplay) app::restoreWindow(window);
  if (probe) app::installStartupProbe(window);
  window.show();
  const int status = QApplication::exec();
  if (!parsed.options.autoplay) app::rememberWindow(window);
  app::keepMatchOptions(model, parsed.options);
  messages.close();
  program.stop();
  return status;
}
