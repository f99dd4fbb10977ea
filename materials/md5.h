#pragma once
// The MD5 digest (RFC 1321) of a whole file, with which an import tells an
// identical material from a different one of the same name.

#include <cstdint>
#include <filesystem>
#include <string>

namespace qiru {

// Bytes read at a time: larger files are read in larger pieces (1 MiB up
// to 10 MiB, 5 MiB above 10 MiB, 10 MiB from 50 MiB on).
std::size_t md5ChunkBytes(std::uintmax_t fileBytes);

// The digest as 32 upper-case hexadecimal digits; "" when the file cannot
// be read to its end.
std::string fileMd5(const std::filesystem::path& path);

}  // namespace qiru
