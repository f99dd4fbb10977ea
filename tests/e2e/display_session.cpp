#include "tests/e2e/display_session.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>
#include <cstdlib>
#include <cstring>

#include <xcb/xcb.h>

namespace qiru::e2e {
namespace {

constexpr int kServerStartMs = 10000;
constexpr int kWindowWaitMs = 20000;
constexpr int kToolMs = 10000;
constexpr int kPollMs = 50;
// Between the keys of a chord going down and coming up: as a hand holds it.
constexpr int kChordHoldMs = 60;

}  // namespace

bool displayToolsPresent() {
  return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() &&
         !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty();
}

DisplaySession::DisplaySession() {
  // -displayfd: the server picks a free number and writes it to our pipe.
  server_.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                         QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                                         QStringLiteral("tcp")});
  QElapsedTimer timer;
  timer.start();
  QByteArray number;
  while (!number.contains('\n') && timer.elapsed() < kServerStartMs && server_.state() != QProcess::NotRunning) {
    server_.waitForReadyRead(kPollMs);
    number += server_.readAllStandardOutput();
  }
  if (number.contains('\n')) display_ = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
}

DisplaySession::~DisplaySession() {
  for (QProcess* process : {&program_, &server_}) {
    if (process->state() == QProcess::NotRunning) continue;
    process->terminate();
    if (!process->waitForFinished(kToolMs)) {
      process->kill();
      process->waitForFinished(kToolMs);
    }
  }
}

bool DisplaySession::startProgram(const QStringList& arguments) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
  environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
  environment.insert(QStringLiteral("DISPLAY"), display_);
  environment.insert(QStringLiteral("HOME"), home_.path());
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home_.path());
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.path() + QStringLiteral("/config"));
  environment.insert(QStringLiteral("XDG_DATA_HOME"), home_.path() + QStringLiteral("/data"));
  program_.setProcessEnvironment(environment);
  program_.setProcessChannelMode(QProcess::SeparateChannels);
  program_.start(QStringLiteral(QIRU_PK_PATH), arguments);
  if (!program_.waitForStarted(kToolMs)) return false;
  QString found;
  if (!xdotool({QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                QStringLiteral("--name"), QStringLiteral("双机PK")},
               &found)) {
    return false;
  }
  window_ = found.split('\n', Qt::SkipEmptyParts).value(0);
  // No window manager runs: the keyboard goes to the window we give it to.
  return !window_.isEmpty() && xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window_});
}

bool DisplaySession::xdotool(const QStringList& arguments, QString* out) {
  QProcess tool;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("DISPLAY"), display_);
  tool.setProcessEnvironment(environment);
  tool.start(QStringLiteral("xdotool"), arguments);
  const bool done = tool.waitForFinished(kWindowWaitMs) && tool.exitCode() == 0;
  if (out != nullptr) *out = QString::fromUtf8(tool.readAllStandardOutput());
  return done;
}

void DisplaySession::tapKey(const QString& key) { strikeChord({key}); }

void DisplaySession::strikeChord(const QStringList& keys) {
  QStringList down{QStringLiteral("keydown")};
  QStringList up{QStringLiteral("keyup")};
  down += keys;
  up += keys;
  xdotool(down);
  QThread::msleep(kChordHoldMs);
  xdotool(up);
}

bool DisplaySession::answerBox(const QString& caption, const QString& key, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  QString found;
  while (found.trimmed().isEmpty() && timer.elapsed() < timeoutMs) {
    xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
             QStringLiteral("^") + caption + QStringLiteral("$")},
            &found);
    if (found.trimmed().isEmpty()) QThread::msleep(kPollMs);
  }
  const QString box = found.split('\n', Qt::SkipEmptyParts).value(0);
  if (box.isEmpty()) return false;
  const bool answered = xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), box}) && (tapKey(key), true);
  // The main window has the keyboard again, as a window manager would give it.
  xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window_});
  return answered;
}

bool DisplaySession::requestClose() {
  xcb_connection_t* connection = xcb_connect(display_.toLatin1().constData(), nullptr);
  const auto atom = [connection](const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t found = reply != nullptr ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return found;
  };
  bool sent = false;
  if (xcb_connection_has_error(connection) == 0 && !window_.isEmpty()) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window_.toUInt();
    message.type = atom("WM_PROTOCOLS");
    message.data.data32[0] = atom("WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    // Checked: the server has taken the message before the connection goes.
    const xcb_void_cookie_t cookie = xcb_send_event_checked(connection, 0, message.window, XCB_EVENT_MASK_NO_EVENT,
                                                            reinterpret_cast<const char*>(&message));
    xcb_generic_error_t* error = xcb_request_check(connection, cookie);
    sent = error == nullptr;
    std::free(error);
  }
  xcb_disconnect(connection);
  return sent;
}

bool DisplaySession::waitForExit(int timeoutMs) {
  const bool ended = program_.state() == QProcess::NotRunning || program_.waitForFinished(timeoutMs);
  output();
  return ended;
}

QString DisplaySession::output() {
  output_ += QString::fromUtf8(program_.readAllStandardOutput());
  return output_;
}

bool DisplaySession::waitForOutput(const QString& text, int times, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (output().count(text) < times) {
    if (timer.elapsed() >= timeoutMs || program_.state() == QProcess::NotRunning) return false;
    program_.waitForReadyRead(kPollMs);
  }
  return true;
}

void DisplaySession::saveScreen(const QString& file) {
  QProcess grab;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("DISPLAY"), display_);
  grab.setProcessEnvironment(environment);
  grab.start(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file});
  grab.waitForFinished(kToolMs);
}

}  // namespace qiru::e2e
