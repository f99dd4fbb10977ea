#pragma once
// The small timing routines that the match engine and the machine link
// share: the millisecond clock, the elapsed-time text of the match clock,
// waits that keep the calling thread's window responsive, and the match
// lock's enter and leave. Every clock read and wait goes through a Clock, so
// a simulation runs all of them in virtual time.

#include <cstdint>
#include <string>
#include <string_view>

#include "support/clock.h"
#include "support/clock_event.h"
#include "support/clock_lock.h"

namespace qiru {

// How often a waiting thread with windows serves their messages.
inline constexpr std::int64_t kMessageServiceIntervalMs = 10;
// pumpingWait's time-out when none is given.
inline constexpr std::int32_t kPumpingWaitDefaultMs = 5000;

// Milliseconds since 1970-01-01 00:00 UTC.
inline std::int64_t nowMs(const Clock& clock) { return clock.nowMs(); }

// "HH:MM:SS", each part two digits or more (3725 gives "01:02:05"; more than
// 99 hours give three hour digits). omitZeroHours drops "00:" below an hour.
// A negative duration (the system time was set back) reads as zero.
std::string formatDuration(std::int32_t seconds, bool omitZeroHours = false);

// The match clock's text: formatDuration with an empty pattern; otherwise
// the moment 1970-01-01 00:00:00 plus the seconds, through formatDateTime.
std::string elapsedTimeText(std::int32_t seconds, std::string_view pattern = {});

// Waits ms on the clock. A thread with a message pump keeps serving its
// messages meanwhile, at least every kMessageServiceIntervalMs.
void preciseDelay(Clock& clock, std::int32_t ms);

// Waits until the event is set or ms have passed, serving the thread's
// messages as preciseDelay does; true when the event was set. The time-out
// counts from the call: arriving messages do not start it again.
bool pumpingWait(ClockEvent& event, std::int32_t ms = kPumpingWaitDefaultMs);

// Enter and leave the match lock; nothing happens when there is none yet.
void lock(ClockLock* matchLock);
void unlock(ClockLock* matchLock);

}  // namespace qiru
