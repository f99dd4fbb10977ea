#include "materials/md5.h"

#include <fstream>
#include <memory>

#include "materials/md5_digest.h"

namespace qiru {

std::size_t md5ChunkBytes(std::uintmax_t fileBytes) {
  constexpr std::uintmax_t kMiB = 1 << 20;
  const std::uintmax_t mebibytes = fileBytes / kMiB;
  if (mebibytes >= 50) return 10 * kMiB;
  if (mebibytes > 10) return 5 * kMiB;
  return kMiB;
}

std::string fileMd5(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return {};
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return {};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  const std::size_t chunkBytes = md5ChunkBytes(size);
  const auto chunk = std::make_unique_for_overwrite<char[]>(chunkBytes);
  Md5Digest context;
  while (in.read(chunk.get(), static_cast<std::streamsize>(chunkBytes)) || in.gcount() > 0) {
    context.update({reinterpret_cast<const std::uint8_t*>(chunk.get()), static_cast<std::size_t>(in.gcount())});
  }
  if (in.bad()) return {};
  Md5Bytes digest;
  if (!context.finish(digest)) return {};
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (std::uint8_t byte : digest) {
    hex += kHexDigits[byte >> 4];
    hex += kHexDigits[byte & 0x0F];
  }
  return hex;
}

}  // namespace qiru
