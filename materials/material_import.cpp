#include "materials/material_import.h"

#include "materials/md5.h"
#include "materials/utf8_path.h"

namespace qiru {
namespace {

ImportOutcome refuse(MessageService* messages, std::string_view text) {
  if (messages) {
    MessageRequest request;
    request.caption = std::string(kImportErrorCaption);
    request.text = std::string(text);
    messages->show(request);
  }
  return {ImportOutcome::Kind::Refused, 0};
}

// The item of an imported file keeps the letter case of its name until the
// next scan lists it as the bank shows every file.
std::string importedDisplayName(const std::filesystem::path& name) {
  return std::string(kUserFolderName) + "-" + utf8Of(name.stem());
}

ImportOutcome listAndSelect(QuestionBank& bank, const std::filesystem::path& target) {
  if (const std::int32_t listed = bank.itemValueOf(target); listed > 0) {
    return {ImportOutcome::Kind::Selected, listed};
  }
  return {ImportOutcome::Kind::Added, bank.add(target, importedDisplayName(target.filename()))};
}

}  // namespace

ImportOutcome importMaterial(QuestionBank& bank, const std::filesystem::path& chosen, MessageService* messages) {
  if (chosen.empty() || !chosen.has_filename()) return {};
  const std::filesystem::path target = bank.userFolder() / chosen.filename();
  std::error_code error;
  if (std::filesystem::exists(target, error)) {
    const std::string chosenDigest = fileMd5(chosen);
    const std::string targetDigest = fileMd5(target);
    if (chosenDigest.empty() || targetDigest.empty()) return refuse(messages, kImportFailed);
    if (chosenDigest != targetDigest) return refuse(messages, kSameNameDifferentContent);
    // Identical: the material is in the bank already (perhaps put there by
    // hand since the last scan, and so not listed yet).
    return listAndSelect(bank, target);
  }
  std::filesystem::create_directory(bank.userFolder(), error);
  // copy_options::none refuses an existing target, even one that appeared
  // since the check above.
  if (!std::filesystem::copy_file(chosen, target, std::filesystem::copy_options::none, error) || error) {
    return refuse(messages, kImportFailed);
  }
  return listAndSelect(bank, target);
}

}  // namespace qiru
