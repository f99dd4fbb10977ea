#include "support/local_time.h"

namespace qiru {

bool localCalendarTime(std::time_t moment, std::tm& local) { return localtime_r(&moment, &local) != nullptr; }

}  // namespace qiru
