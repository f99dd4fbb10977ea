#include "materials/data_folders.h"

#include "materials/question_bank.h"
#include "materials/utf8_path.h"

namespace qiru {

namespace fs = std::filesystem;

fs::path bankFolderIn(const fs::path& parent) { return parent / pathFromUtf8(std::string(kBankFolderName)); }

bool isPortableLayout(const fs::path& programDir) { return isWritableFolder(bankFolderIn(programDir)); }

}  // namespace qiru
