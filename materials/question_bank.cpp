#include "materials/question_bank.h"

#include <algorithm>

#include "materials/utf8_path.h"
#include "support/text_encoding.h"

namespace qiru {
namespace {

constexpr std::string_view kTextExtension = ".txt";

// The entries of one folder: subfolders into `folders`, files into `files`.
// A folder that cannot be read contributes what was read before the error.
void collectFolder(const std::filesystem::path& folder, std::vector<std::filesystem::path>& folders,
                   std::vector<std::filesystem::path>& files) {
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::filesystem::directory_entry& entry = *it;
    std::error_code statusError;
    if (entry.is_symlink(statusError) && entry.is_directory(statusError)) continue;
    if (entry.is_directory(statusError)) {
      folders.push_back(entry.path());
    } else if (entry.is_regular_file(statusError)) {
      files.push_back(entry.path());
    }
  }
}

}  // namespace

std::string displayNameOf(const std::filesystem::path& relativePath) {
  const std::u8string generic = relativePath.generic_u8string();
  std::string name(generic.begin(), generic.end());
  std::transform(name.begin(), name.end(), name.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  for (std::size_t at = 0; (at = name.find(kTextExtension, at)) != std::string::npos;) {
    name.erase(at, kTextExtension.size());
  }
  std::replace(name.begin(), name.end(), '/', '-');
  return name;
}

std::filesystem::path QuestionBank::userFolder() const { return folder_ / pathFromUtf8(kUserFolderName); }

void QuestionBank::scanQuestionBank(const std::function<void()>& serveMessages) {
  materials_.clear();
  std::vector<std::filesystem::path> files;
  std::vector<std::filesystem::path> folders{folder_};
  while (!folders.empty()) {
    const std::filesystem::path folder = std::move(folders.back());
    folders.pop_back();
    collectFolder(folder, folders, files);
    if (serveMessages) serveMessages();
  }
  // The order is that of the paths' GBK bytes, compared unsigned: every
  // ASCII name before a Chinese one, and Chinese names in GBK's order of
  // common characters, which is pinyin order. A name GBK cannot hold keeps
  // its place by its UTF-8 bytes among names that convert alike.
  struct SortKey {
    std::string gbk;
    std::string utf8;
    auto operator<=>(const SortKey&) const = default;
  };
  std::vector<std::pair<SortKey, std::filesystem::path>> sorted;
  sorted.reserve(files.size());
  for (auto& file : files) {
    std::string utf8 = utf8Of(file);
    std::string gbk = utf8ToGbk(utf8);
    sorted.emplace_back(SortKey{std::move(gbk), std::move(utf8)}, std::move(file));
  }
  std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  materials_.reserve(sorted.size());
  for (auto& [key, path] : sorted) {
    materials_.push_back({path, displayNameOf(path.lexically_relative(folder_))});
  }
}

std::filesystem::path QuestionBank::pathOf(std::int32_t itemValue) const {
  if (itemValue < 1 || itemValue > count()) return {};
  return materials_[static_cast<std::size_t>(itemValue - 1)].path;
}

std::int32_t QuestionBank::itemValueOf(const std::filesystem::path& path) const {
  const auto found = std::find_if(materials_.begin(), materials_.end(),
                                  [&](const BankMaterial& material) { return material.path == path; });
  return found == materials_.end() ? 0 : static_cast<std::int32_t>(found - materials_.begin()) + 1;
}

std::int32_t QuestionBank::add(std::filesystem::path path, std::string displayName) {
  materials_.push_back({std::move(path), std::move(displayName)});
  return count();
}

}  // namespace qiru
