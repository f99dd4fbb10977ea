#include "device/thread_priority.h"

#if defined(__linux__)
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace qiru {

#if defined(__linux__)

namespace {
constexpr int kHighestNice = -20;
}  // namespace

bool raiseCurrentThreadPriority() {
  // On Linux a thread's nice value is its own: PRIO_PROCESS with the
  // thread id changes only the calling thread.
  const auto thread = static_cast<id_t>(syscall(SYS_gettid));
  errno = 0;
  const int current = getpriority(PRIO_PROCESS, thread);
  if (errno != 0) return false;
  // The first value that is allowed, from the highest priority down.
  for (int nice = kHighestNice; nice < current; ++nice) {
    if (setpriority(PRIO_PROCESS, thread, nice) == 0) return true;
  }
  return false;
}

#else

bool raiseCurrentThreadPriority() { return false; }

#endif

}  // namespace qiru
