#include "app/bank_location.h"

#include "app/user_folders.h"
#include "materials/question_bank.h"
#include "materials/utf8_path.h"

namespace qiru::app {
namespace {

namespace fs = std::filesystem;

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
  places.userDataDir = userDataFolder();
  return places;
}

}  // namespace qiru::app
