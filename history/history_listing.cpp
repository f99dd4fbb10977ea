#include "history/history_listing.h"

#include <cstdio>

#include "support/date_time_format.h"

namespace qiru {
namespace {

std::string secondsOf(std::int64_t ms) { return oneDecimal(static_cast<double>(ms) / 1000.0); }

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string csvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

}  // namespace

std::string_view sideResultTitle(SideResult result) {
  switch (result) {
    case SideResult::Win:
      return "胜";
    case SideResult::Loss:
      return "负";
    case SideResult::Draw:
      break;
  }
  return "平";
}

std::string_view modeToken(MatchMode mode) {
  switch (mode) {
    case MatchMode::TimedRace:
      return "timed_race";
    case MatchMode::RaceToFinish:
      return "race_to_finish";
    case MatchMode::QuickAnswer:
      return "quick_answer";
    case MatchMode::TeamRelay:
      break;
  }
  return "team_relay";
}

std::string_view modeTitle(MatchMode mode) {
  switch (mode) {
    case MatchMode::TimedRace:
      return "双人计时赛";
    case MatchMode::RaceToFinish:
      return "双人争先赛";
    case MatchMode::QuickAnswer:
      return "双人抢答赛";
    case MatchMode::TeamRelay:
      break;
  }
  return "团队接力赛";
}

std::string_view sideTitle(std::int32_t side) { return side == 1 ? "红方" : "蓝方"; }

std::string oneDecimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

std::string historyCsv(const std::vector<HistoryRow>& rows) {
  std::string csv(kHistoryCsvHeader);
  csv += "\r\n";
  for (const HistoryRow& r : rows) {
    csv += std::to_string(r.match) + ',' + std::to_string(r.round) + ',' + formatDateTime(localTimeAt(r.startedMs)) +
           ',' + std::string(modeToken(r.mode)) + ',' + csvField(r.material) + ',' + (r.side == 1 ? "red" : "blue") +
           ',' + std::to_string(r.machine) + ',' + std::to_string(r.score) + ',' + std::to_string(r.chords) + ',' +
           std::to_string(r.wrongChords) + ',' + std::to_string(r.entries) + ',' + std::to_string(r.characters) +
           ',' + secondsOf(r.playingMs) + ',' + oneDecimal(r.charsPerMinute) +
           ',' + oneDecimal(r.accuracyPercent) + ',' + std::string(sideResultName(r.result)) + ',' +
           (r.stopped ? "1" : "0") + "\r\n";
  }
  return csv;
}

std::string historyLine(const HistoryRow& r, const std::map<std::int32_t, std::string>& names) {
  std::string machine = std::to_string(r.machine);
  if (const auto name = names.find(r.machine); name != names.end()) machine += " " + name->second;
  return std::to_string(r.match) + "." + std::to_string(r.round) + "  " + formatDateTime(localTimeAt(r.startedMs)) +
         "  " + std::string(modeTitle(r.mode)) + "  " + r.material + "  " + std::string(sideTitle(r.side)) + "  " +
         machine + "  得分 " + std::to_string(r.score) + "  击 " + std::to_string(r.chords) + "  错击 " +
         std::to_string(r.wrongChords) + "  条 " + std::to_string(r.entries) + "  字 " +
         std::to_string(r.characters) + "  " + secondsOf(r.playingMs) +
         " 秒  " + oneDecimal(r.charsPerMinute) + " 字/分  正确率 " + oneDecimal(r.accuracyPercent) + "%  " +
         std::string(sideResultTitle(r.result)) + (r.stopped ? "（中止）" : "");
}

}  // namespace qiru
