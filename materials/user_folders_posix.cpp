// Where the user's data lives on Linux: the XDG data home; and whether a
// folder may be written to, by its access bits.
#include <unistd.h>

#include <cstdlib>

#include "materials/data_folders.h"

namespace qiru {

namespace fs = std::filesystem;

fs::path userDataFolder() {
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
  return base / "qiru-pk";
}

bool isWritableFolder(const fs::path& folder) {
  std::error_code error;
  return fs::is_directory(folder, error) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace qiru
