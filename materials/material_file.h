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

// The largest material file a match reads. Real materials are far smaller
// (the 9,000 entries of a 30-minute race fit in a few hundred kilobytes);
// a larger file is a wrong choice, and reading it would hold the match
// start for seconds and take memory many times its size.
inline constexpr std::uintmax_t kMaxMaterialBytes = 16 * 1024 * 1024;

// Whether the file at `path` is larger than a material may be.
bool materialTooLarge(const std::filesystem::path& path);

// The file's bytes up to its first zero byte (anything after it is not
// material: a file saved as UTF-16 ends almost at once), read as GBK and
// returned as UTF-8. None when the file cannot be read, is no regular file
// or is larger than kMaxMaterialBytes.
std::optional<std::string> readMaterialFile(const std::filesystem::path& path);

// The file's raw bytes, at most kMaxMaterialBytes of them; none when it is
// no regular file or cannot be read. Never blocks on a pipe.
std::optional<std::string> readFileBytes(const std::filesystem::path& path);

// Reads the file and parses it into `set` for `n` entries. A file that
// cannot be read, or is too large, is reported through `messages` and
// fails the load.
bool loadMaterialFile(MaterialSet& set, const std::filesystem::path& path, std::int32_t n,
                      MessageService* messages);

}  // namespace qiru
