#include <gtest/gtest.h>

#include <zlib.h>

#include "steno/compressed_block.h"
#include "support/byte_io.h"

namespace qiru {
namespace {

std::string blockOf(std::string_view magic, std::int32_t storedLength, std::string_view data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::string stream(size, '\0');
  compress(reinterpret_cast<Bytef*>(stream.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
           static_cast<uLong>(data.size()));
  stream.resize(size);
  std::string block(magic);
  appendInt32(block, storedLength);
  return block + stream;
}

const std::string_view kQR("QR\0", 3);

TEST(CompressedBlock, UnpacksBothMagics) {
  EXPECT_EQ(unpackBlock(blockOf(kQR, 3, "abc")), "abc");
  EXPECT_EQ(unpackBlock(blockOf(std::string_view("Gz\0", 3), 3, "abc")), "abc");
  EXPECT_EQ(unpackBlock(packBlock("the dictionary")), "the dictionary");
}

TEST(CompressedBlock, FailuresGiveNoBytes) {
  const std::string good = blockOf(kQR, 3, "abc");
  std::string corrupted = good;
  corrupted[good.size() - 1] ^= 0x55;  // Adler-32 no longer matches
  const struct {
    const char* what;
    std::string block;
  } cases[] = {
      {"8 bytes", good.substr(0, 8)},
      {"wrong magic", "QX" + good.substr(2)},
      {"length too small", blockOf(kQR, 2, "abc")},
      {"negative length", blockOf(kQR, -1, "abc")},
      {"length beyond any zlib expansion", blockOf(kQR, 0x7FFFFFFF, "abc")},
      {"corrupted stream", corrupted},
      {"truncated stream", good.substr(0, good.size() - 3)},
  };
  for (const auto& c : cases) EXPECT_EQ(unpackBlock(c.block), "") << c.what;
}

}  // namespace
}  // namespace qiru
