#pragma once
// The folders of the user's account that the bank location needs, behind
// one file per platform: the XDG data home and access() on Linux, the
// local application data folder on Windows.

#include <filesystem>

namespace qiru::app {

// Whether the folder exists and this user may create files in it.
bool isWritableFolder(const std::filesystem::path& folder);

// Where the program keeps the user's own data: "qiru-pk" in the user's
// data folder (on Linux $XDG_DATA_HOME or ~/.local/share, on Windows
// %LOCALAPPDATA%), or in the temporary folder when there is none.
std::filesystem::path userDataFolder();

}  // namespace qiru::app
