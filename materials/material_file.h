#pragma once
// Match material files on disk: GBK text, read whole. What a match start
// does with the chosen file.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "materials/material_set.h"
#include "support/messages.h"

namespace qiru {

// The file's bytes up to its first zero byte (anything after it is not
// material: a file saved as UTF-16 ends almost at once), read as GBK and
// returned as UTF-8. None when the file cannot be read.
std::optional<std::string> readMaterialFile(const std::filesystem::path& path);

// Reads the file and parses it into `set` for `n` entries. A file that
// cannot be read is reported through `messages` and fails the load.
bool loadMaterialFile(MaterialSet& set, const std::filesystem::path& path, std::int32_t n,
                      MessageService* messages);

}  // namespace qiru
