#include <unistd.h>

#include <cstdlib>

#include "app/user_folders.h"

namespace qiru::app {

namespace fs = std::filesystem;

bool isWritableFolder(const fs::path& folder) {
  std::error_code error;
  return fs::is_directory(folder, error) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

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

}  // namespace qiru::app
