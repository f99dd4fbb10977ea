#pragma once
// The system's broken-down local time of a moment, thread-safe, behind one
// function per platform.

#include <ctime>

namespace qiru {

// False when the system cannot express the moment in local time.
bool localCalendarTime(std::time_t moment, std::tm& local);

}  // namespace qiru
