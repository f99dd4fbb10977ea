#pragma once
// Where the question bank lives. A bank folder beside the program that can
// be written to is the portable layout and wins; otherwise the bank lives
// in the user's data folder, filled with the sample bank the first time.
// An explicit folder (--bank DIR) overrides both.

#include <filesystem>
#include <optional>

namespace qiru::app {

struct BankPlaces {
  std::filesystem::path programDir;                // the folder of the executable
  std::filesystem::path userDataDir;               // the XDG data home's folder for the program
  std::filesystem::path sampleBank;                // the installed sample bank, if any
  std::optional<std::filesystem::path> override;  // --bank DIR
};

// The bank folder to use, from the places alone (nothing is created).
std::filesystem::path chooseBankFolder(const BankPlaces& places);

// Makes sure the chosen folder exists: the user data folder's bank starts
// as a copy of the sample bank; any other is created empty when missing.
// A failure is not fatal: the scan then finds no files.
void prepareBankFolder(const BankPlaces& places, const std::filesystem::path& bank);

// The places of this installation: the sample bank in the share folder
// beside the program's bin folder, the data folder under XDG_DATA_HOME (or
// ~/.local/share).
BankPlaces installedBankPlaces(const std::filesystem::path& programDir);

}  // namespace qiru::app
