#pragma once
// Why the match history cannot be kept or read, and what the person at the
// program is told about it. In every case the file is left as it is and the
// match goes on without history.

#include <filesystem>
#include <string>

namespace qiru {

enum class HistoryProblem {
  None,
  CannotCreate,  // the file or its folder cannot be made
  CannotOpen,    // exists but cannot be opened (permissions, a folder of that name)
  Damaged,       // not an SQLite file, or its contents are broken
  ReadOnly,      // may be read, not written
  Newer,         // written by a newer version of the program
  NotHistory,    // an SQLite file of some other program
  WriteFailed,   // a round could not be written
  Missing,       // reading a history that does not exist (yet)
};

// What happened and what to do, for a box or a terminal (UTF-8, "\r\n" lines).
std::string historyProblemText(HistoryProblem problem, const std::filesystem::path& path,
                               const std::string& detail = {});

inline constexpr const char* kHistoryMessageCaption = "比赛历史";

}  // namespace qiru
