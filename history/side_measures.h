#pragma once
// The measures of one side in one round, made from the round's events.
// Every measure is defined here, once (the README repeats the definitions):
//
// - entries: entries the side answered (its score);
// - characters: the characters of those entries' texts, each character one;
// - chords: every chord of the side the worker judged;
// - answerChords: chords that were part of an accepted answer (the chords
//   in the side's answer when it completed an entry);
// - wrongChords: chords - answerChords;
// - timedOut: entries the side had on screen that timed out;
// - playingMs: from the round's start to the round's end; in the timed race
//   at most the set time limit; in the race to finish, a side that got
//   through its whole material stops at the end of its last entry;
// - charsPerMinute (字/分): characters ÷ playing minutes;
// - chordsPerMinute (击/分): chords ÷ playing minutes;
// - accuracyPercent: answerChords ÷ chords × 100 (0 without chords);
// - answer time: from an entry shown to the side's answer; the median of
//   all answered entries (the mean of the middle two for an even count) and
//   the five slowest, slowest first;
// - speed over time: for each 10-second step from the round's start, the
//   characters of the entries answered in that step ÷ the step's minutes
//   (the last step may be shorter, up to the end of the playing time);
// - missed: entries timed out, and in the shared-entry modes entries the
//   rival took, with the code that answers them.

#include <cstdint>
#include <string>
#include <vector>

#include "history/played_round.h"

namespace qiru {

inline constexpr std::int64_t kSpeedStepMs = 10'000;
inline constexpr std::size_t kSlowestEntriesShown = 5;

enum class SideResult : std::int32_t { Loss = 0, Draw = 1, Win = 2 };

// "win", "loss", "draw"
std::string_view sideResultName(SideResult result);

struct EntryTime {
  std::int32_t position = 0;
  std::string text;
  std::string code;
  std::int64_t answerMs = 0;  // from shown to answered
};

struct MissedEntry {
  std::int32_t position = 0;
  std::string text;
  std::string code;
  bool timedOut = true;  // else the rival took it
};

struct SideMeasures {
  std::int32_t side = 0;
  std::int32_t machine = 0;
  std::int32_t score = 0;
  SideResult result = SideResult::Draw;
  std::int32_t entries = 0;
  std::int32_t characters = 0;
  std::int32_t chords = 0;
  std::int32_t answerChords = 0;
  std::int32_t wrongChords = 0;
  std::int32_t timedOut = 0;
  std::int64_t playingMs = 0;
  double charsPerMinute = 0;
  double chordsPerMinute = 0;
  double accuracyPercent = 0;
  std::int64_t medianAnswerMs = 0;
  std::vector<EntryTime> slowest;
  std::vector<double> speedSteps;  // 字/分 in each 10-second step
  std::vector<MissedEntry> missed;
};

// Characters of a UTF-8 text, each character one.
std::int32_t characterCount(std::string_view utf8);

SideMeasures measureSide(const PlayedRound& round, std::int32_t side);

}  // namespace qiru
