#include "support/clock_lock.h"

namespace qiru {

void ClockLock::lock() {
  const std::thread::id me = std::this_thread::get_id();
  clock_.waitFor(
      [this, me] {
        if (depth_ > 0 && owner_ != me) return false;
        owner_ = me;
        ++depth_;
        return true;
      },
      kWaitForeverMs);
}

void ClockLock::unlock() {
  clock_.notify([this] {
    if (--depth_ == 0) owner_ = std::thread::id();
  });
}

bool ClockLock::heldByNobody() {
  bool free = false;
  clock_.waitFor(
      [this, &free] {
        free = depth_ == 0;
        return true;
      },
      0);
  return free;
}

}  // namespace qiru
