#include "device/thread_priority.h"

#if defined(__linux__)
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#endif

namespace qiru {

#if defined(__linux__)

namespace {

constexpr int kHighestNice = -20;
// The shortest time slice the kernel grants an ordinary thread. A reader
// runs for some microseconds per report; asking for a short slice lets it
// in as soon as a report wakes it instead of after the slice of whatever
// else holds the CPU (Linux 6.12 on; earlier kernels ignore the request).
// Unlike a lower nice value it needs no privilege.
constexpr std::uint64_t kShortSliceNs = 100'000;

// The kernel's struct sched_attr in its first version, which every kernel
// with sched_setattr reads (its header clashes with the C library's).
struct SchedAttributes {
  std::uint32_t size;
  std::uint32_t policy;
  std::uint64_t flags;
  std::int32_t nice;
  std::uint32_t priority;
  std::uint64_t runtimeNs;  // for ordinary threads: the slice asked for
  std::uint64_t deadlineNs;
  std::uint64_t periodNs;
};

// Asks for the short slice, keeping the thread's nice value.
bool requestShortSlice(int nice) {
  SchedAttributes attributes{};
  attributes.size = sizeof attributes;
  attributes.policy = SCHED_OTHER;
  attributes.nice = nice;
  attributes.runtimeNs = kShortSliceNs;
  return syscall(SYS_sched_setattr, 0, &attributes, 0) == 0;
}

}  // namespace

bool raiseCurrentThreadPriority() {
  // On Linux a thread's nice value is its own: PRIO_PROCESS with the
  // thread id changes only the calling thread.
  const auto thread = static_cast<id_t>(syscall(SYS_gettid));
  errno = 0;
  const int current = getpriority(PRIO_PROCESS, thread);
  if (errno != 0) return false;
  const bool sliced = requestShortSlice(current);
  // The first value that is allowed, from the highest priority down.
  for (int nice = kHighestNice; nice < current; ++nice) {
    if (setpriority(PRIO_PROCESS, thread, nice) == 0) return true;
  }
  return sliced;
}

#else

bool raiseCurrentThreadPriority() { return false; }

#endif

}  // namespace qiru
