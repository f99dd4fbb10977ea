#pragma once
// What a build without the match history (no SQLite: the Windows cross
// build) says when asked for it.

#include <string_view>

namespace qiru::cli {

inline constexpr std::string_view kUnkeptHistory =
    "this build of qiru-steno keeps no match history (it was built without SQLite)";

}  // namespace qiru::cli
