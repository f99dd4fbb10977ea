#include "simulation/match_bot.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "materials/text_split.h"

namespace qiru {
namespace {

inline constexpr std::int64_t kMsPerMinuteOfPlay = 60'000;

PressedKeys keysOf(const ChordCodec& codec, std::string_view chord) {
  const TwoAreaCode code = codec.twoAreaCodeOf(chord);
  return {.right = rightKeySetOf(code), .left = leftKeySetOf(code)};
}

bool parseNumber(std::string_view text, double& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::optional<BotStyle> parseBotStyle(std::string_view text, std::string& error) {
  BotStyle style;
  for (const std::string_view part : splitAt(text, ",")) {
    const auto equals = part.find('=');
    const std::string_view name = part.substr(0, equals);
    double value = 0;
    if (equals == std::string_view::npos || !parseNumber(part.substr(equals + 1), value)) {
      error = "\"" + std::string(part) + "\" is not NAME=NUMBER; write a player as cpm=300,errors=0.05";
      return std::nullopt;
    }
    if (name == "cpm" && value >= 1 && value <= 6000 && value == static_cast<std::int32_t>(value)) {
      style.chordsPerMinute = static_cast<std::int32_t>(value);
    } else if (name == "errors" && value >= 0 && value <= 1) {
      style.wrongChordShare = value;
    } else if (name == "react" && value >= 0 && value <= kMaxReactMs && value == static_cast<std::int64_t>(value)) {
      style.reactMs = static_cast<std::int64_t>(value);
    } else if (name == "cpm" || name == "errors" || name == "react") {
      error = "\"" + std::string(part) + "\" is out of range: cpm is a whole number of chords per minute from 1 to 6000, "
              "errors a share of wrong chords from 0 to 1, react a whole number of ms from 0 to 60000";
      return std::nullopt;
    } else {
      error = "unknown player setting \"" + std::string(name) + "\"; a player has cpm=N, errors=P and react=MS";
      return std::nullopt;
    }
  }
  return style;
}

MatchBot::MatchBot(Clock& clock, VirtualCh375& library, MatchEngine& engine, const AnswerKey& answers,
                   std::int32_t side, BotStyle style, std::uint64_t seed, StrikeObserver onStrike)
    : clock_(clock),
      engine_(engine),
      answers_(answers),
      side_(side),
      style_(style),
      paceMs_(std::max<std::int64_t>(kMsPerMinuteOfPlay / style.chordsPerMinute, 1)),
      player_(library, side - 1),
      random_(seed),
      onStrike_(std::move(onStrike)),
      thread_(clock, [this] {
        while (!stopping_) waitForNextStep(playStep());
      }) {
  if (style_.reactMs) engine_.addObserver(*this);
}

void MatchBot::stop() {
  stopping_ = true;
  thread_.join();
  if (style_.reactMs) engine_.removeObserver(*this);
}

void MatchBot::entryNews() {
  clock_.notify([this] { entryNews_ = true; });
}

void MatchBot::waitForNextStep(std::int64_t waitMs) {
  if (!style_.reactMs) {
    clock_.sleepFor(waitMs);
    return;
  }
  clock_.waitFor([this] { return std::exchange(entryNews_, false) || engine_.state() != stateSeen_; }, waitMs);
}

std::int64_t MatchBot::playStep() {
  const std::int64_t now = clock_.nowMs();
  stateSeen_ = engine_.state();
  switch (stateSeen_) {
    case MatchState::Running:
      confirmAt_.reset();
      return keyEntry(now);
    case MatchState::ResultShown:
      position_ = 0;
      return confirmResult(now);
    default:
      position_ = 0;
      confirmAt_.reset();
      return kBotLookMs;
  }
}

std::int64_t MatchBot::keyEntry(std::int64_t now) {
  // A bot with a reaction time looks at every news: a new entry sets its
  // next chord's moment anew.
  if (!style_.reactMs && now < nextStrikeAt_) return nextStrikeAt_ - now;
  const MatchEngine::ShownEntry shown = engine_.shownEntry(side_);
  if (shown.position == 0) return kBotLookMs;
  if (shown.position != position_) {
    position_ = shown.position;
    chords_ = &answers_.chordsOf(shown.text);
    struck_ = 0;
    if (style_.reactMs) nextStrikeAt_ = std::max(shown.shownAt + *style_.reactMs, lastUpAt_ + 1);
  } else if (struck_ == chords_->size()) {
    // Keyed: the next entry should come; if it does not, key it again.
    if (now - keyedAt_ < kNextEntryPatienceMs) return kBotLookMs;
    struck_ = 0;
  }
  if (now < nextStrikeAt_) return nextStrikeAt_ - now;
  if (chords_->empty()) return paceMs_;  // an entry the bot cannot answer: wait for the time-out
  return strike(now, nextChord());
}

PressedKeys MatchBot::nextChord() {
  const PressedKeys right = keysOf(codec_, (*chords_)[struck_]);
  if (drawWrong()) {
    struck_ = 0;  // the player starts the entry again
    return wrongChordFor(right);
  }
  if (++struck_ == chords_->size()) keyedAt_ = clock_.nowMs();
  return right;
}

bool MatchBot::drawWrong() {
  // Drawn from the generator's bits directly, so that a seed plays the same
  // with every standard library.
  const double draw = static_cast<double>(random_() >> 11) * 0x1.0p-53;
  return draw < style_.wrongChordShare;
}

PressedKeys MatchBot::wrongChordFor(PressedKeys chord) {
  // One key too many or too few, as fingers slip.
  PressedKeys wrong = chord;
  do {
    const auto key = static_cast<int>(random_() % (2 * kKeysPerHand));
    std::int32_t& hand = key < kKeysPerHand ? wrong.left : wrong.right;
    hand ^= 1 << (key % kKeysPerHand);
  } while (wrong.left == 0 && wrong.right == 0);
  return wrong;
}

std::int64_t MatchBot::confirmResult(std::int64_t now) {
  if (!confirmAt_) confirmAt_ = now + kResultReadingMs;
  if (now < *confirmAt_) return *confirmAt_ - now;
  strike(now, keysOf(codec_, kConfirmChord));
  confirmAt_ = now + kConfirmRetryMs;
  return kBotLookMs;
}

std::int64_t MatchBot::strike(std::int64_t now, PressedKeys chord) {
  const bool duringRound = engine_.state() == MatchState::Running;
  const std::int64_t upAt = player_.play(now, chord);
  lastUpAt_ = upAt;
  if (onStrike_) onStrike_({side_, now, upAt, makeTwoAreaCode(chord.left, chord.right), duringRound});
  nextStrikeAt_ = std::max(now + paceMs_, upAt + 1);
  return nextStrikeAt_ - now;
}

}  // namespace qiru
