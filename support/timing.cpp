#include "support/timing.h"

#include <algorithm>
#include <cstdio>
#include <functional>

#include "support/date_time_format.h"
#include "support/message_pump.h"

namespace qiru {

namespace {

constexpr std::int32_t kSecondsPerHour = 3600;
constexpr std::int32_t kSecondsPerMinute = 60;

std::string twoDigits(std::int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", static_cast<int>(value));
  return text;
}

// Waits up to ms through waitSlice, which waits at most the slice it is given
// and says whether the awaited thing happened. With a message pump the wait
// is cut into slices with the thread's messages served between them.
bool waitServingMessages(Clock& clock, std::int64_t ms,
                         const std::function<bool(std::int64_t sliceMs)>& waitSlice) {
  MessagePump* pump = currentMessagePump();
  if (pump == nullptr) return waitSlice(std::max<std::int64_t>(ms, 0));
  const std::int64_t deadlineMs = clock.nowMs() + ms;
  for (;;) {
    pump->serveMessages();
    const std::int64_t leftMs = deadlineMs - clock.nowMs();
    if (leftMs <= 0) return false;
    if (waitSlice(std::min(leftMs, kMessageServiceIntervalMs))) return true;
  }
}

}  // namespace

std::string formatDuration(std::int32_t seconds, bool omitZeroHours) {
  std::int32_t rest = std::max(seconds, 0);
  std::string text;
  if (rest >= kSecondsPerHour) {
    text = twoDigits(rest / kSecondsPerHour) + ":";
    rest %= kSecondsPerHour;
  } else if (!omitZeroHours) {
    text = "00:";
  }
  text += twoDigits(rest / kSecondsPerMinute) + ":";
  text += twoDigits(rest % kSecondsPerMinute);
  return text;
}

std::string elapsedTimeText(std::int32_t seconds, std::string_view pattern) {
  if (pattern.empty()) return formatDuration(seconds);
  // Whole days carry into the date rather than giving an hour of 24 or more.
  return formatDateTime(civilTimeFromUnixSeconds(std::max(seconds, 0)), pattern);
}

void preciseDelay(Clock& clock, std::int32_t ms) {
  waitServingMessages(clock, ms, [&clock](std::int64_t sliceMs) {
    clock.sleepFor(sliceMs);
    return false;
  });
}

bool pumpingWait(ClockEvent& event, std::int32_t ms) {
  return waitServingMessages(event.clock(), ms,
                             [&event](std::int64_t sliceMs) { return event.wait(sliceMs); });
}

void lock(ClockLock* matchLock) {
  if (matchLock != nullptr) matchLock->lock();
}

void unlock(ClockLock* matchLock) {
  if (matchLock != nullptr) matchLock->unlock();
}

}  // namespace qiru
