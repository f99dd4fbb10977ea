#pragma once
// The compressed block: a 3-byte magic ("QR\0", or "Gz\0"), the unpacked
// length as a little-endian int32, then a zlib stream as zlib's compress()
// writes it. The built-in syllable dictionary is carried in this form.

#include <string>
#include <string_view>

namespace qiru {

// The unpacked bytes, or an empty string on any failure (too short, wrong
// magic, a length that does not fit, a zlib error).
std::string unpackBlock(std::string_view block);

// The block for `bytes` with the magic "QR\0"; used by the data generators.
std::string packBlock(std::string_view bytes);

}  // namespace qiru
