#pragma once
// Paths as the rest of the program sees them: UTF-8 text. The platform's
// own form (bytes on Linux, UTF-16 on Windows) stays inside std::filesystem.

#include <filesystem>
#include <string>
#include <string_view>

namespace qiru {

inline std::filesystem::path pathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string utf8Of(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace qiru
