#pragma once
// A simulated player at a virtual machine: during a round it strikes the
// chords of the entry its side is shown, at a steady pace, now and then a
// wrong chord (after which it starts the entry again); when the result is
// shown it reads it for a moment and presses the confirm key.

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "device/virtual/chord_player.h"
#include "match/answer_key.h"
#include "match/match_engine.h"
#include "steno/chord_codec.h"
#include "support/clock_thread.h"

namespace qiru {

struct BotStyle {
  std::int32_t chordsPerMinute = 300;
  double wrongChordShare = 0.0;  // 0 to 1
  // When set, the first chord of each new entry goes down exactly this long
  // after the entry was shown (but never before the bot's previous chord
  // is fully up), whatever it was doing when the entry came.
  std::optional<std::int64_t> reactMs = std::nullopt;
  friend bool operator==(const BotStyle&, const BotStyle&) = default;
};

// "cpm=N,errors=P,react=MS" in any order, each may be left out (300, 0 and
// as soon as the bot sees the entry). None when the text is not of that
// form; `error` then says why.
std::optional<BotStyle> parseBotStyle(std::string_view text, std::string& error);

// A chord as a bot struck it: which side, when its first key went down and
// its last came up, its keys, and whether a round was running as it began.
struct StruckChord {
  std::int32_t side = 0;
  std::int64_t startMs = 0;
  std::int64_t upMs = 0;
  TwoAreaCode code = 0;
  bool duringRound = false;
};
using StrikeObserver = std::function<void(const StruckChord&)>;

// How long a bot looks at the result before it confirms, and how long it
// waits before confirming again when the first press was lost.
inline constexpr std::int64_t kResultReadingMs = 3000;
inline constexpr std::int64_t kConfirmRetryMs = 2000;
// How long a bot that has keyed an entry waits for the next before it keys
// the entry again.
inline constexpr std::int64_t kNextEntryPatienceMs = 1000;
// How often an idle bot looks at the screen.
inline constexpr std::int64_t kBotLookMs = 10;
// The longest reaction time a bot takes.
inline constexpr std::int64_t kMaxReactMs = 60'000;
// The confirm key as the bots strike it (decoded "EN").
inline constexpr std::string_view kConfirmChord = "F:I";

class MatchBot final : private MatchObserver {
 public:
  // Plays `side` on the library's device index side - 1 until stopped.
  // `onStrike`, when given, is told of every chord, on the bot's thread.
  MatchBot(Clock& clock, VirtualCh375& library, MatchEngine& engine, const AnswerKey& answers, std::int32_t side,
           BotStyle style, std::uint64_t seed, StrikeObserver onStrike = {});
  ~MatchBot() override { stop(); }
  MatchBot(const MatchBot&) = delete;
  MatchBot& operator=(const MatchBot&) = delete;

  void stop();
  // One look at the screen and at most one chord; the wait until the next.
  std::int64_t playStep();

 private:
  // A bot with a reaction time sees each new entry the moment it is shown:
  // the match tells it of every entry that ends and of the round starting.
  void onRoundStarted(const RoundStarted&) override { entryNews(); }
  void onEntryEnded(const EntryEnded&) override { entryNews(); }
  void entryNews();
  // Waits until the next step: the given time, or (with a reaction time)
  // until the screen may have changed.
  void waitForNextStep(std::int64_t waitMs);
  std::int64_t keyEntry(std::int64_t now);
  std::int64_t confirmResult(std::int64_t now);
  PressedKeys nextChord();
  PressedKeys wrongChordFor(PressedKeys chord);
  bool drawWrong();
  std::int64_t strike(std::int64_t now, PressedKeys chord);

  Clock& clock_;
  MatchEngine& engine_;
  const AnswerKey& answers_;
  const std::int32_t side_;
  const BotStyle style_;
  const std::int64_t paceMs_;
  ChordPlayer player_;
  ChordCodec codec_;
  std::mt19937_64 random_;
  const StrikeObserver onStrike_;

  // The entry being keyed: its position, its chords and how many are struck.
  std::int32_t position_ = 0;
  const std::vector<std::string>* chords_ = nullptr;
  std::size_t struck_ = 0;
  std::int64_t keyedAt_ = 0;       // when the entry's last chord went down
  std::int64_t nextStrikeAt_ = 0;  // the pace
  std::int64_t lastUpAt_ = 0;      // when the bot's latest chord came fully up
  std::optional<std::int64_t> confirmAt_;
  // What the bot saw at its latest look, and news of an entry since;
  // guarded by the clock's lock once the thread runs.
  MatchState stateSeen_ = MatchState::Idle;
  bool entryNews_ = false;

  std::atomic<bool> stopping_{false};
  ClockThread thread_;
};

}  // namespace qiru
