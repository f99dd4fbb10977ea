// Where the user's data lives on Windows: the local application data
// folder; and whether a folder may be written to, by trying.
#include <windows.h>

#include "materials/data_folders.h"

namespace qiru {

namespace fs = std::filesystem;

bool isWritableFolder(const fs::path& folder) {
  std::error_code error;
  if (!fs::is_directory(folder, error)) return false;
  // Access rights on Windows are lists, not bits: the one sure answer is a
  // file created and removed again.
  const fs::path probe = folder / L".qiru-pk-write-probe";
  HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

fs::path userDataFolder() {
  const wchar_t* localAppData = _wgetenv(L"LOCALAPPDATA");
  const fs::path base = localAppData != nullptr && *localAppData != L'\0' ? fs::path(localAppData)
                                                                          : fs::temp_directory_path();
  return base / L"qiru-pk";
}

}  // namespace qiru
