#pragma once
// A measurement of the start: with QIRU_STARTUP_PROBE=1 in the environment
// the program prints, on stderr, how long after its start the window was
// first painted ("first_paint_ms=N") and, after a few idle seconds, its
// resident memory ("idle_rss_kb=N"), then ends. scripts/measure-startup.sh
// runs it; the start is QIRU_STARTUP_PROBE_T0_NS (CLOCK_REALTIME, set just
// before the program is started) or else the program's own first moment.

class QWidget;

namespace qiru::app {

bool startupProbeWanted();
// Watches the window from before it is shown.
void installStartupProbe(QWidget& window);

}  // namespace qiru::app
