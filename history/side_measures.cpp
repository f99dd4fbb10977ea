#include "history/side_measures.h"

#include <algorithm>

#include "device/side.h"

namespace qiru {
namespace {

constexpr double kMsPerMinute = 60'000.0;
constexpr double kPercent = 100.0;

bool endedFor(const EntryEnded& entry, std::int32_t side) { return entry.shared || entry.side == side; }

bool takenBy(const EntryEnded& entry, std::int32_t side) { return entry.end == EntryEnd::Taken && entry.side == side; }

std::int64_t playingMsOf(const PlayedRound& round, std::int32_t side) {
  const std::int64_t start = round.start.startedAtMs;
  std::int64_t end = round.result.endedAtMs;
  const MatchSettings& settings = round.start.settings;
  if (settings.mode == MatchMode::TimedRace) return std::min<std::int64_t>(end - start, settings.timeLimitMs);
  if (settings.mode == MatchMode::RaceToFinish) {
    for (const EntryEnded& entry : round.entries) {
      if (entry.side == side && entry.position == round.start.entries) end = std::min(end, entry.endedAtMs);
    }
  }
  return std::max<std::int64_t>(end - start, 0);
}

double perMinute(double count, std::int64_t ms) { return ms > 0 ? count * kMsPerMinute / static_cast<double>(ms) : 0; }

std::int64_t median(std::vector<std::int64_t> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  if (values.size() % 2 == 1) return values[middle];
  return (values[middle - 1] + values[middle]) / 2;
}

std::vector<double> speedSteps(const std::vector<EntryTime>& answered, const std::vector<std::int64_t>& endedAt,
                               std::int64_t playingMs) {
  const std::size_t steps = static_cast<std::size_t>((playingMs + kSpeedStepMs - 1) / kSpeedStepMs);
  std::vector<double> characters(steps, 0);
  for (std::size_t i = 0; i < answered.size(); ++i) {
    const auto step = static_cast<std::size_t>(endedAt[i] / kSpeedStepMs);
    if (step < steps) characters[step] += characterCount(answered[i].text);
  }
  for (std::size_t step = 0; step < steps; ++step) {
    const std::int64_t stepMs = std::min<std::int64_t>(kSpeedStepMs, playingMs - static_cast<std::int64_t>(step) * kSpeedStepMs);
    characters[step] = perMinute(characters[step], stepMs);
  }
  return characters;
}

}  // namespace

std::string_view sideResultName(SideResult result) {
  switch (result) {
    case SideResult::Win:
      return "win";
    case SideResult::Loss:
      return "loss";
    case SideResult::Draw:
      break;
  }
  return "draw";
}

std::int32_t characterCount(std::string_view utf8) {
  // Every character has exactly one byte that is not a continuation byte (10xxxxxx).
  return static_cast<std::int32_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }));
}

SideMeasures measureSide(const PlayedRound& round, std::int32_t side) {
  SideMeasures m;
  m.side = side;
  m.machine = round.start.machineNumbers[sideSlot(side)];
  m.score = round.result.scores[sideSlot(side)];
  m.result = round.result.winner == 0 ? SideResult::Draw : (round.result.winner == side ? SideResult::Win : SideResult::Loss);
  for (const ChordJudged& chord : round.chords) m.chords += chord.side == side ? 1 : 0;
  std::vector<EntryTime> answered;
  std::vector<std::int64_t> endedAt;  // from the round's start
  for (const EntryEnded& entry : round.entries) {
    if (takenBy(entry, side)) {
      ++m.entries;
      m.characters += characterCount(entry.text);
      m.answerChords += entry.answerChords;
      answered.push_back({entry.position, entry.text, entry.code, entry.endedAtMs - entry.shownAtMs});
      endedAt.push_back(entry.endedAtMs - round.start.startedAtMs);
    } else if (endedFor(entry, side)) {
      const bool timedOut = entry.end == EntryEnd::TimedOut;
      m.timedOut += timedOut ? 1 : 0;
      m.missed.push_back({entry.position, entry.text, entry.code, timedOut});
    }
  }
  m.wrongChords = m.chords - m.answerChords;
  m.playingMs = playingMsOf(round, side);
  m.charsPerMinute = perMinute(m.characters, m.playingMs);
  m.chordsPerMinute = perMinute(m.chords, m.playingMs);
  m.accuracyPercent = m.chords > 0 ? kPercent * m.answerChords / m.chords : 0;
  std::vector<std::int64_t> times;
  for (const EntryTime& entry : answered) times.push_back(entry.answerMs);
  m.medianAnswerMs = median(times);
  m.speedSteps = speedSteps(answered, endedAt, m.playingMs);
  m.slowest = answered;
  std::stable_sort(m.slowest.begin(), m.slowest.end(),
                   [](const EntryTime& a, const EntryTime& b) { return a.answerMs > b.answerMs; });
  if (m.slowest.size() > kSlowestEntriesShown) m.slowest.resize(kSlowestEntriesShown);
  return m;
}

}  // namespace qiru
