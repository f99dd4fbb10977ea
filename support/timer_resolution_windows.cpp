#include <windows.h>
// timeapi.h needs the types of windows.h.
#include <timeapi.h>

#include "support/timer_resolution.h"

namespace qiru {

namespace {
constexpr UINT kFinestTimerPeriodMs = 1;
}  // namespace

void useFineTimerResolution() {
  // Once: the system counts the requests, and the process keeps this one.
  static const bool requested = timeBeginPeriod(kFinestTimerPeriodMs) == TIMERR_NOERROR;
  (void)requested;
}

}  // namespace qiru
