#pragma once
// A virtual display of the test's own and qiru-pk running on it, driven as a
// person drives it: real key events through the X server (xdotool), the
// program's standard output read as it comes.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace qiru::e2e {

// Whether Xvfb and xdotool can be run here.
bool displayToolsPresent();

class DisplaySession {
 public:
  // Starts Xvfb on a free display number.
  DisplaySession();
  ~DisplaySession();
  DisplaySession(const DisplaySession&) = delete;
  DisplaySession& operator=(const DisplaySession&) = delete;

  bool started() const { return !display_.isEmpty(); }
  const QString& display() const { return display_; }

  // Starts qiru-pk with these arguments, its settings and runtime folders in
  // a fresh home, and waits for its window. False when no window came.
  bool startProgram(const QStringList& arguments);
  // Key events to the program's window, as xdotool names the keys: "a",
  // "comma", "Escape". A chord is several keys held together.
  void tapKey(const QString& key);
  void strikeChord(const QStringList& keys);
  // Answers the program's message box of that caption with a key ("Return"
  // for its default button); false when no such box shows within a while.
  bool answerBox(const QString& caption, const QString& key, int timeoutMs);
  // Asks the window to close, as a window manager does when its close
  // button is clicked (WM_DELETE_WINDOW); false when the display refused.
  bool requestClose();
  // Waits for the program to end; false at the deadline.
  bool waitForExit(int timeoutMs);
  bool running() const { return program_.state() != QProcess::NotRunning; }
  // The program's home folder: its settings and data live below it.
  QString homePath() const { return home_.path(); }
  // Waits until the program's standard output holds `text` at least `times`
  // times; false at the deadline.
  bool waitForOutput(const QString& text, int times, int timeoutMs);
  // What the program printed so far.
  QString output();
  // Saves the screen as a PNG (for people to look at when a test fails).
  void saveScreen(const QString& file);

 private:
  bool xdotool(const QStringList& arguments, QString* out = nullptr);

  QTemporaryDir home_;
  QProcess server_;
  QProcess program_;
  QString display_;
  QString window_;
  QString output_;
};

}  // namespace qiru::e2e
