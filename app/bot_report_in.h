#pragma once
// A bot at machine 2 beside a person at machine 1 (the keyboard) reports in
// as a player sitting there would: once machine 1 has reported in and the
// match waits for machine 2, it strikes a key, and strikes again while the
// report-in has not got through. Starting the match is the person's: the
// bot never strikes the start key. Without it a keyboard player could never
// get past "请二号机按任意键报到！".

#include <atomic>
#include <cstdint>

#include "device/machine_connection.h"
#include "device/virtual/chord_player.h"
#include "match/match_engine.h"
#include "support/clock.h"
#include "support/clock_thread.h"

namespace qiru::app {

// From the moment the bot sees it is wanted to its key: long enough for the
// prompt to be read.
inline constexpr std::int64_t kBotReportInDelayMs = 300;
// When a report-in key did not get through (struck while the queues were
// emptied), the next one follows after this.
inline constexpr std::int64_t kBotReportInRetryMs = 1000;
// How often the bot looks at the match while it is not wanted.
inline constexpr std::int64_t kBotReportInLookMs = 20;

class BotReportIn {
 public:
  // Reports in the bot's machine of `side` on the library's device index
  // side - 1, on a thread of its own until stopped.
  BotReportIn(Clock& clock, VirtualCh375& library, MatchEngine& engine, const MachineConnection& machines,
              std::int32_t side);
  ~BotReportIn() { stop(); }
  BotReportIn(const BotReportIn&) = delete;
  BotReportIn& operator=(const BotReportIn&) = delete;

  void stop();
  // One look at the match and at most one key; the wait until the next.
  std::int64_t step();

 private:
  bool wanted() const;

  Clock& clock_;
  MatchEngine& engine_;
  const MachineConnection& machines_;
  const std::int32_t side_;
  ChordPlayer player_;
  std::int64_t strikeAt_ = 0;  // 0: not wanted when last looked
  std::atomic<bool> stopping_{false};
  ClockThread thread_;
};

}  // namespace qiru::app
