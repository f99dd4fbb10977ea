#include <windows.h>

#include "device/thread_priority.h"

namespace qiru {

bool raiseCurrentThreadPriority() {
  // The highest priority short of time-critical: the reader threads must
  // run as soon as a report arrives, yet never starve the window's thread.
  return SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST) != 0;
}

}  // namespace qiru
