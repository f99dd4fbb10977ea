#include "support/timer_resolution.h"

namespace qiru {

void useFineTimerResolution() {}

}  // namespace qiru
