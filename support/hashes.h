#pragma once
// The hash functions of the byte-keyed maps and of the built-in dictionary
// block. Their exact values are part of stored byte forms: changing one makes
// every stored index unreadable.

#include <cstdint>
#include <string_view>

namespace qiru {

// Fold from the last byte to the first: h = h * 31 + byte + 1 (wrapping),
// then the sign bit cleared.
std::int32_t foldHash31(std::string_view bytes);

// The standard reflected CRC-32 (as zlib's crc32).
std::int32_t crc32Of(std::string_view bytes);

// Adler-32 with both sums starting at 0 instead of 1; sign bit cleared.
std::int32_t adlerFromZero(std::string_view bytes);

}  // namespace qiru
