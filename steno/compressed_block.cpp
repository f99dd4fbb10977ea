#include "steno/compressed_block.h"

#include <zlib.h>

#include "support/byte_io.h"

namespace qiru {
namespace {
constexpr std::size_t kHeaderBytes = 7;
// zlib cannot expand data by more than about 1032:1, so a stored length far
// beyond that is a corrupted header, not a reason to allocate gigabytes.
constexpr std::size_t kMaxExpansion = 1032;
}  // namespace

std::string unpackBlock(std::string_view block) {
  if (block.size() <= 8) return {};
  const bool magicOk = (block[0] == 'Q' && block[1] == 'R' && block[2] == 0) ||
                       (block[0] == 'G' && block[1] == 'z' && block[2] == 0);
  if (!magicOk) return {};
  const std::int32_t length = readInt32At(reinterpret_cast<const unsigned char*>(block.data()) + 3);
  const std::string_view stream = block.substr(kHeaderBytes);
  if (length < 0 || static_cast<std::size_t>(length) > stream.size() * kMaxExpansion + 64) return {};
  std::string output(static_cast<std::size_t>(length), '\0');
  uLongf produced = static_cast<uLongf>(output.size());
  const int result = uncompress(reinterpret_cast<Bytef*>(output.data()), &produced,
                                reinterpret_cast<const Bytef*>(stream.data()),
                                static_cast<uLong>(stream.size()));
  if (result != Z_OK) return {};
  output.resize(produced);
  return output;
}

std::string packBlock(std::string_view bytes) {
  uLongf bound = compressBound(static_cast<uLong>(bytes.size()));
  std::string stream(bound, '\0');
  compress(reinterpret_cast<Bytef*>(stream.data()), &bound,
           reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uLong>(bytes.size()));
  stream.resize(bound);
  std::string block("QR", 2);
  block.push_back('\0');
  appendInt32(block, static_cast<std::int32_t>(bytes.size()));
  return block + stream;
}

}  // namespace qiru
