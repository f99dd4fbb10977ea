#include "app/bank_location.h"

#include <unistd.h>

#include <cstdlib>

#include "materials/question_bank.h"
#include "materials/utf8_path.h"

namespace qiru::app {
namespace {

namespace fs = std::filesystem;

bool isWritableFolder(const fs::path& folder) {
  std::error_code error;
  return fs::is_directory(folder, error) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

fs::path bankFolderIn(const fs::path& parent) { return parent / pathFromUtf8(std::string(kBankFolderName)); }

}  // namespace

fs::path chooseBankFolder(const BankPlaces& places) {
  if (places.override) return *places.override;
  const fs::path portable = bankFolderIn(places.programDir);
  if (isWritableFolder(portable)) return portable;
  return bankFolderIn(places.userDataDir);
}

void prepareBankFolder(const BankPlaces& places, const fs::path& bank) {
  std::error_code error;
  if (fs::is_directory(bank, error)) return;
  const bool userBank = !places.override && bank == bankFolderIn(places.userDataDir);
  if (userBank && fs::is_directory(places.sampleBank, error)) {
    fs::create_directories(bank.parent_path(), error);
    fs::copy(places.sampleBank, bank, fs::copy_options::recursive, error);
    if (!error) return;
  }
  fs::create_directories(bank, error);
}

BankPlaces installedBankPlaces(const fs::path& programDir) {
  BankPlaces places;
  places.programDir = programDir;
  places.sampleBank = bankFolderIn(programDir.parent_path() / "share" / "qiru-pk");
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  fs::path base;
  if (dataHome != nullptr && *dataHome == '/') {
    base = dataHome;
  } else if (home != nullptr) {
    base = fs::path(home) / ".local" / "share";
  } else {
    base = fs::temp_directory_path();
  }
  places.userDataDir = base / "qiru-pk";
  return places;
}

}  // namespace qiru::app
