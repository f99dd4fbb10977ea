#include "support/local_time.h"

namespace qiru {

bool localCalendarTime(std::time_t moment, std::tm& local) { return localtime_s(&local, &moment) == 0; }

}  // namespace qiru
