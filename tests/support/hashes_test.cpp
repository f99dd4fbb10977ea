#include <gtest/gtest.h>

#include <string>

#include "support/hashes.h"

namespace qiru {
namespace {

std::int32_t adlerFromZeroSlowly(std::string_view bytes) {
  std::uint64_t sum1 = 0, sum2 = 0;
  for (unsigned char b : bytes) {
    sum1 = (sum1 + b) % 65521;
    sum2 = (sum2 + sum1) % 65521;
  }
  return static_cast<std::int32_t>((sum2 * 65536 + sum1) & 0x7FFFFFFF);
}

TEST(Hashes, KnownValues) {
  EXPECT_EQ(static_cast<std::uint32_t>(crc32Of("123456789")), 0xCBF43926u);
  EXPECT_EQ(crc32Of(""), 0);
  // From the last byte to the first: ('b' + 1) * 31 + 'a' + 1.
  EXPECT_EQ(foldHash31("ab"), ('b' + 1) * 31 + 'a' + 1);
  EXPECT_EQ(foldHash31(""), 0);
  EXPECT_EQ(adlerFromZero("a"), 97 * 65536 + 97);
  // Bytes above 0x7F count as unsigned, as GBK text needs.
  EXPECT_EQ(foldHash31("\xB1"), 0xB1 + 1);
}

TEST(Hashes, FoldWrapsAndClearsTheSignBit) {
  const std::string long_(1000, '\xFF');
  EXPECT_GE(foldHash31(long_), 0);
}

TEST(Hashes, AdlerSumsSurviveLongInputs) {
  for (std::size_t length : {5551u, 5552u, 5553u, 20000u}) {
    const std::string bytes(length, '\xFE');
    EXPECT_EQ(adlerFromZero(bytes), adlerFromZeroSlowly(bytes)) << length;
  }
}

}  // namespace
}  // namespace qiru
