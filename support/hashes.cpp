#include "support/hashes.h"

#include <algorithm>

#include <zlib.h>

namespace qiru {

std::int32_t foldHash31(std::string_view bytes) {
  std::uint32_t h = 0;
  for (auto it = bytes.rbegin(); it != bytes.rend(); ++it) {
    h = h * 31u + static_cast<unsigned char>(*it) + 1u;
  }
  return static_cast<std::int32_t>(h & 0x7FFFFFFFu);
}

std::int32_t crc32Of(std::string_view bytes) {
  uLong crc = crc32(0L, Z_NULL, 0);
  crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size()));
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(crc));
}

std::int32_t adlerFromZero(std::string_view bytes) {
  constexpr std::uint32_t kModulus = 65521;
  constexpr std::size_t kBytesBeforeReduce = 5552;  // sums stay within 32 bits
  std::uint32_t sum1 = 0;
  std::uint32_t sum2 = 0;
  std::size_t position = 0;
  while (position < bytes.size()) {
    const std::size_t end = std::min(bytes.size(), position + kBytesBeforeReduce);
    for (; position < end; ++position) {
      sum1 += static_cast<unsigned char>(bytes[position]);
      sum2 += sum1;
    }
    sum1 %= kModulus;
    sum2 %= kModulus;
  }
  return static_cast<std::int32_t>((sum2 * 65536u + sum1) & 0x7FFFFFFFu);
}

}  // namespace qiru
