#pragma once
// Importing a material file the user chose into the bank's user folder:
// what the window's import button does, without the window. The caller
// shows the file dialog (filter kImportDialogFilter) and afterwards adds or
// selects the combo box item that the outcome names.

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "materials/question_bank.h"
#include "support/messages.h"

namespace qiru {

inline constexpr std::string_view kImportDialogFilter = "比赛素材(*.txt)|*.txt";
inline constexpr std::string_view kImportErrorCaption = "错误：";
inline constexpr std::string_view kSameNameDifferentContent = "已存在同名但内容不同的比赛素材！";
inline constexpr std::string_view kImportFailed = "导入文件失败！";

struct ImportOutcome {
  enum class Kind {
    NothingChosen,  // the dialog was cancelled: nothing happens
    Refused,        // a box told the user why; the bank is unchanged
    Selected,       // the same material is listed already: select it
    Added,          // a new last material: add its item and select it
  };
  Kind kind = Kind::NothingChosen;
  std::int32_t itemValue = 0;  // the item to select (Selected, Added)
};

// Copies `chosen` into the user folder (created when missing) under its own
// name and lists it. A file of that name already there is never
// overwritten: with the same content (by MD5) the import selects it, with
// other content the user is told. An empty `chosen` does nothing.
ImportOutcome importMaterial(QuestionBank& bank, const std::filesystem::path& chosen, MessageService* messages);

}  // namespace qiru
