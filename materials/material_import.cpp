#include "materials/material_import.h"

#include <random>
#include <string>

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
  return {ImportOutcome::Kind::Refused, 0, text, {}};
}

// The item of an imported file keeps the letter case of its name until the
// next scan lists it as the bank shows every file.
std::string importedDisplayName(const std::filesystem::path& name) {
  return std::string(kUserFolderName) + "-" + utf8Of(name.stem());
}

ImportOutcome listAndSelect(QuestionBank& bank, const std::filesystem::path& target) {
  if (const std::int32_t listed = bank.itemValueOf(target); listed > 0) {
    return {ImportOutcome::Kind::Selected, listed, {}, target};
  }
  return {ImportOutcome::Kind::Added, bank.add(target, importedDisplayName(target.filename())), {}, target};
}

// Where the copy is written until it is whole: beside the target, on the
// same file system, so that the last step is a rename.
std::filesystem::path passingNameFor(const std::filesystem::path& target) {
  const std::string suffix = ".importing-" + std::to_string(std::random_device{}());
  return target.parent_path() / pathFromUtf8("." + utf8Of(target.filename()) + suffix);
}

// Gives the whole copy its name, unless a file of that name has appeared
// meanwhile: a hard link cannot replace a file. Where the file system has no
// hard links, a rename after one more look.
bool nameWithoutReplacing(const std::filesystem::path& copy, const std::filesystem::path& target) {
  std::error_code error;
  std::filesystem::create_hard_link(copy, target, error);
  if (!error) {
    std::filesystem::remove(copy, error);
    return true;
  }
  if (std::filesystem::exists(target, error)) return false;
  std::filesystem::rename(copy, target, error);
  return !error;
}

}  // namespace

ImportOutcome importMaterial(QuestionBank& bank, const std::filesystem::path& chosen, MessageService* messages,
                             const MaterialCopier& writeCopy) {
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
  const std::filesystem::path passing = passingNameFor(target);
  if (!std::filesystem::is_regular_file(chosen, error) || !writeCopy(chosen, passing) ||
      !nameWithoutReplacing(passing, target)) {
    std::filesystem::remove(passing, error);
    return refuse(messages, kImportFailed);
  }
  return listAndSelect(bank, target);
}

bool copyWithTheSystem(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::error_code error;
  return std::filesystem::copy_file(from, to, std::filesystem::copy_options::none, error) && !error;
}

}  // namespace qiru
