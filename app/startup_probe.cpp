#include "app/startup_probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace qiru::app {
namespace {

constexpr int kIdleBeforeMemoryMs = 3000;

std::int64_t nowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// The start as the measuring script saw it, or the first time this is asked.
std::int64_t startNs() {
  static const std::int64_t start = [] {
    const char* given = std::getenv("QIRU_STARTUP_PROBE_T0_NS");
    return given != nullptr ? std::strtoll(given, nullptr, 10) : nowNs();
  }();
  return start;
}

long residentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

class FirstPaint final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::Paint || painted_) return false;
    painted_ = true;
    std::fprintf(stderr, "first_paint_ms=%.1f\n", static_cast<double>(nowNs() - startNs()) / 1e6);
    QTimer::singleShot(kIdleBeforeMemoryMs, qApp, [] {
      std::fprintf(stderr, "idle_rss_kb=%ld\n", residentKb());
      QCoreApplication::quit();
    });
    return false;
  }

 private:
  bool painted_ = false;
};

}  // namespace

bool startupProbeWanted() {
  const char* wanted = std::getenv("QIRU_STARTUP_PROBE");
  const bool on = wanted != nullptr && std::string(wanted) == "1";
  if (on) startNs();
  return on;
}

void installStartupProbe(QWidget& window) { window.installEventFilter(new FirstPaint(&window)); }

}  // namespace qiru::app
