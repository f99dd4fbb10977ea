#pragma once
// The question bank: the folder of match materials beside the program, and
// the list of every file in it that the material combo box offers. Item k
// of the combo box stands for material k of the list (its item value).

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qiru {

// The bank folder's name beside the program, and the subfolder that
// imported materials go to.
inline constexpr std::string_view kBankFolderName = "比赛题库";
inline constexpr std::string_view kUserFolderName = "6.用户赛题";

struct BankMaterial {
  std::filesystem::path path;
  std::string displayName;  // the text of its combo box item (UTF-8)
};

// A material's name in the combo box, from its path relative to the bank:
// ASCII letters in lower case, every ".txt" removed, folders joined by "-"
// ("6.用户赛题/Lesson1.txt" shows as "6.用户赛题-lesson1").
std::string displayNameOf(const std::filesystem::path& relativePath);

class QuestionBank {
 public:
  explicit QuestionBank(std::filesystem::path folder) : folder_(std::move(folder)) {}

  const std::filesystem::path& folder() const { return folder_; }
  std::filesystem::path userFolder() const;

  // Lists every file of the bank, in folders of any depth and whatever its
  // extension, sorted by the GBK bytes of the full paths. `serveMessages` runs
  // after each folder, so that a large bank does not freeze the window.
  // Links to folders are not followed (a link back up would never end) and
  // only regular files are listed (reading a pipe would hang a match start).
  void scanQuestionBank(const std::function<void()>& serveMessages = {});

  // Every material, item value k at index k - 1.
  const std::vector<BankMaterial>& materials() const { return materials_; }
  std::int32_t count() const { return static_cast<std::int32_t>(materials_.size()); }
  // The file behind an item value; empty outside 1..count().
  std::filesystem::path pathOf(std::int32_t itemValue) const;
  // The item value of the material at exactly this path; 0 when unlisted.
  std::int32_t itemValueOf(const std::filesystem::path& path) const;

  // Lists one more material at the end; returns its item value.
  std::int32_t add(std::filesystem::path path, std::string displayName);

 private:
  std::filesystem::path folder_;
  std::vector<BankMaterial> materials_;
};

}  // namespace qiru
