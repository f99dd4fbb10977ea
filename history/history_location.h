#pragma once
// Which file keeps the match history: --history FILE, --history none, or by
// default history.sqlite3 beside the program in the portable layout, else
// in the user's data folder (beside the question bank's user data).

#include <filesystem>
#include <optional>
#include <string_view>

namespace qiru {

inline constexpr std::string_view kHistoryFileName = "history.sqlite3";
// The --history value that keeps no history.
inline constexpr std::string_view kNoHistory = "none";

std::filesystem::path defaultHistoryFile(const std::filesystem::path& programDir);

// The file a --history value names (none: the default); an empty path when
// no history is to be kept.
std::filesystem::path chooseHistoryFile(const std::optional<std::string_view>& option,
                                        const std::filesystem::path& programDir);

// The folder of the running program.
std::filesystem::path runningProgramFolder();

}  // namespace qiru
