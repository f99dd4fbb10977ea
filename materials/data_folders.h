#pragma once
// Where the program keeps the user's data: the question bank and the match
// history. In the portable layout (a bank folder beside the program that can
// be written to) both live beside the program; otherwise in the user's data
// folder.

#include <filesystem>

namespace qiru {

// $XDG_DATA_HOME/qiru-pk, or ~/.local/share/qiru-pk (the temporary folder
// when there is no home).
std::filesystem::path userDataFolder();

bool isWritableFolder(const std::filesystem::path& folder);

// The question bank folder inside `parent`.
std::filesystem::path bankFolderIn(const std::filesystem::path& parent);

// Whether the program in `programDir` runs in the portable layout.
bool isPortableLayout(const std::filesystem::path& programDir);

}  // namespace qiru
