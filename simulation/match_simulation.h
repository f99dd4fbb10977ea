#pragma once
// A whole match played in virtual time: virtual machines, their report
// queues, reader threads, chord capture and decoding, the match engine with
// its worker and match clock, and a bot at each machine (or machine 1 alone,
// machine 2 simulated). The same options and seed give the same match, line
// for line.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/ch375_library.h"
#include "device/virtual/virtual_ch375.h"
#include "match/match_events.h"
#include "simulation/match_bot.h"
#include "support/clock.h"
#include "support/match_types.h"

namespace qiru {

class MatchWatcher;

// The machines' own numbers, as they report in.
inline constexpr std::int32_t kRedMachineNumber = 10001;
inline constexpr std::int32_t kBlueMachineNumber = 10002;
inline constexpr std::int32_t kMachineSecondNumber = 180101;

struct SimulationOptions {
  MatchMode mode = MatchMode::TimedRace;
  std::filesystem::path material;
  // Texts for the option boxes; none leaves a box as the window starts.
  std::optional<std::string> minutes;  // 编辑框_限时
  std::optional<std::string> entries;  // the mode's entry box (团队条数 in the relay)
  std::optional<std::string> members;  // 编辑框_团队人数
  std::optional<std::string> flashSeconds;  // checks 选择框_闪灭
  std::uint64_t seed = 1;
  BotStyle red;
  std::optional<BotStyle> blue;  // none: machine 1 plays alone
  MatchWatcher* watcher = nullptr;  // told what happens (match_watcher.h)
};

// Virtual time when the simulation starts: a fixed moment, so that nothing
// depends on when it runs.
inline constexpr std::int64_t kSimulationStartMs = 1'700'000'000'000;

// The fingering scheme must be loaded (loadFingeringScheme) before.
// Plays the match and writes to `out` each key record line as it is written
// ("1<TAB>3 EN - F:I") and after each round the result controls
// ("标签_结果=…", "标签_结果.color=0x865AB2", …). Message boxes go to `err`.
// Returns 0, or 1 when the match could not be played (the reason in `err`).
// A box whose text the option boxes refuse is the caller's to check first
// (optionBoxRefuses).
// `observers` see the match's events besides the printing (the history).
int simulateMatch(const SimulationOptions& options, std::ostream& out, std::ostream& err,
                  const std::vector<MatchObserver*>& observers = {});

// The same on any clock, the calling thread taking part in it: on the real
// clock the match takes as long as it would at the machines.
int playMatch(Clock& clock, const SimulationOptions& options, std::ostream& out, std::ostream& err,
              const std::vector<MatchObserver*>& observers = {});

// The same, the program reaching the virtual machines through the library
// that `inFront` puts in front of them (such as the chip library backend
// over a stand-in of the chip library); the bots and the referee still
// strike the virtual machines themselves. None from `inFront`: the match
// cannot be played.
using LibraryInFront = std::function<std::unique_ptr<Ch375Library>(VirtualCh375& machines)>;
int playMatch(Clock& clock, const SimulationOptions& options, std::ostream& out, std::ostream& err,
              const LibraryInFront& inFront, const std::vector<MatchObserver*>& observers = {});

// Why an option's value is refused by the box it fills (not its kind of
// number, or outside the box's limits), as "--minutes takes a whole number
// from 1 to 30, not "35792""; none when every box takes its value.
std::optional<std::string> optionBoxRefuses(const SimulationOptions& options);

}  // namespace qiru
