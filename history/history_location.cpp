#include "history/history_location.h"

#include <string>

#include "materials/data_folders.h"
#include "materials/utf8_path.h"

namespace qiru {

std::filesystem::path defaultHistoryFile(const std::filesystem::path& programDir) {
  const std::filesystem::path folder = isPortableLayout(programDir) ? programDir : userDataFolder();
  return folder / std::string(kHistoryFileName);
}

std::filesystem::path chooseHistoryFile(const std::optional<std::string_view>& option,
                                        const std::filesystem::path& programDir) {
  if (!option) return defaultHistoryFile(programDir);
  if (*option == kNoHistory) return {};
  return pathFromUtf8(*option);
}

std::filesystem::path runningProgramFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path(error) : program.parent_path();
}

}  // namespace qiru
