#pragma once
// Importing a material file the user chose into the bank's user folder:
// what the window's import button does, without the window. The caller
// shows the file dialog (filter kImportDialogFilter) and afterwards adds or
// selects the combo box item that the outcome names.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

#include "materials/question_bank.h"
#include "support/messages.h"

namespace qiru {

inline constexpr std::string_view kImportDialogFilter = "比赛素材(*.txt)|*.txt";
inline constexpr std::string_view kImportErrorCaption = "错误：";
inline constexpr std::string_view kSameNameDifferentContent = "已存在同名但内容不同的比赛素材！";
inline constexpr std::string_view kImportFailed = "导入文件失败！";

// Writes the bytes of file `from` into a new file `to`; false when that
// failed part way or at all (a full disk, say). The import uses the
// system's copy; tests stand in a writer that fails.
using MaterialCopier = std::function<bool(const std::filesystem::path& from, const std::filesystem::path& to)>;
bool copyWithTheSystem(const std::filesystem::path& from, const std::filesystem::path& to);

struct ImportOutcome {
  enum class Kind {
    NothingChosen,  // the dialog was cancelled: nothing happens
    Refused,        // a box told the user why; the bank is unchanged
    Selected,       // the same material is listed already: select it
    Added,          // a new last material: add its item and select it
  };
  Kind kind = Kind::NothingChosen;
  std::int32_t itemValue = 0;  // the item to select (Selected, Added)
  std::string_view refusal;    // what the user was told (Refused)
  std::filesystem::path target;  // the material's file in the bank (Selected, Added)
};

// Copies `chosen` into the user folder (created when missing) under its own
// name and lists it. A file of that name already there is never
// overwritten: with the same content (by MD5) the import selects it, with
// other content the user is told. An empty `chosen` does nothing. The copy
// is written under a passing name beside the target and renamed only once
// it is whole: a copy that fails leaves nothing in the bank.
ImportOutcome importMaterial(QuestionBank& bank, const std::filesystem::path& chosen, MessageService* messages,
                             const MaterialCopier& copy = copyWithTheSystem);

}  // namespace qiru
