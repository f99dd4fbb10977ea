#pragma once
// The main window's place and size, kept in the user's settings between
// runs, so that the window comes back where the user left it.

class QWidget;

namespace qiru::app {

// Puts the window where it was last time; false when nothing was kept.
bool restoreWindow(QWidget& window);
void rememberWindow(const QWidget& window);

}  // namespace qiru::app
