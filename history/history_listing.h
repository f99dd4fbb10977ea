#pragma once
// The stored rounds as text: CSV (one row per side per round, under the
// header below) and readable lines for a terminal.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "history/history_database.h"

namespace qiru {

inline constexpr std::string_view kHistoryCsvHeader =
    "match,round,started,mode,material,side,machine,score,chords,wrong_chords,entries,characters,seconds,"
    "chars_per_minute,accuracy,result,stopped";
// Put before the CSV text so that spreadsheet programs on Chinese systems read it as UTF-8.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// "timed_race", "race_to_finish", "quick_answer", "team_relay"
std::string_view modeToken(MatchMode mode);
// "双人计时赛" …, as the mode tab names it.
std::string_view modeTitle(MatchMode mode);
// "胜", "负", "平"
std::string_view sideResultTitle(SideResult result);
// "红方" or "蓝方"
std::string_view sideTitle(std::int32_t side);

// A number with one decimal ("66.7").
std::string oneDecimal(double value);

// The header, then one line per row, each ending in "\r\n".
std::string historyCsv(const std::vector<HistoryRow>& rows);

// "1.1  2026-12-11 09:30:00  双人计时赛  单音节.txt  红方  10001 张三  得分 20 …"
std::string historyLine(const HistoryRow& row, const std::map<std::int32_t, std::string>& names);

}  // namespace qiru
