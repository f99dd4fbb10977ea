// The integer map and the byte-keyed index share the segment cascade; these
// tests pin its sizing, its collision rule and its byte form.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <unordered_map>

#include "support/code_map.h"
#include "support/hash_index.h"
#include "support/page_block.h"
#include "support/primes.h"

namespace qiru {
namespace {

bool isPrime(std::int32_t n) {
  if (n < 2) return false;
  for (std::int32_t d = 2; d * d <= n; ++d) {
    if (n % d == 0) return false;
  }
  return true;
}

TEST(Primes, TableHoldsExactlyThePrimesBelow29990) {
  const auto primes = smallPrimes();
  EXPECT_EQ(primes.size(), 3245u);
  EXPECT_EQ(primes.front(), 2);
  EXPECT_EQ(primes.back(), 29989);
}

TEST(Primes, LargestPrimeNotAbove) {
  struct Case {
    std::int32_t x, expected;
  };
  for (const Case c : {Case{-5, 0}, {0, 0}, {1, 0}, {2, 2}, {4, 3}, {156, 151}, {157, 157},
                       {29989, 29989}, {29990, 29989}, {100000, 99991}, {137816, 137803}}) {
    EXPECT_EQ(largestPrimeNotAbove(c.x), c.expected) << c.x;
  }
}

TEST(SizeList, BaseSizeByExpectedCount) {
  struct Case {
    std::int32_t n;
    SizeTiers tiers;
    std::int32_t base;
    std::size_t sizes;
  };
  const Case cases[] = {
      {0, SizeTiers::IntegerKeys, 31, 1},          {99, SizeTiers::IntegerKeys, 31, 1},
      {100, SizeTiers::IntegerKeys, 157, 1},       {413, SizeTiers::IntegerKeys, 157, 1},
      {1000, SizeTiers::IntegerKeys, 1531, 1},     {9999, SizeTiers::IntegerKeys, 1531, 1},       {10000, SizeTiers::IntegerKeys, 15313, 1},
      {10001, SizeTiers::IntegerKeys, 15313, 50},  {100000, SizeTiers::IntegerKeys, 43853, 50},
      {5000000, SizeTiers::IntegerKeys, 43853, 50}, {999999, SizeTiers::ByteKeys, 43853, 50},
      {1000000, SizeTiers::ByteKeys, 483853, 50},
  };
  for (const Case& c : cases) {
    const auto list = SegmentCascade::sizeListFor(c.n, c.tiers);
    ASSERT_EQ(list.size(), c.sizes) << c.n;
    EXPECT_EQ(list.front(), c.base) << c.n;
  }
}

TEST(SizeList, LargeMapsShrinkByATenthToPrimesDownToAFifth) {
  const auto list = SegmentCascade::sizeListFor(20000, SizeTiers::IntegerKeys);
  const std::int32_t base = 15313;
  const auto floor = static_cast<std::int32_t>(base * 0.2);
  for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(list[i], base);
  for (std::size_t i = 10; i < list.size(); ++i) {
    const std::int32_t previous = list[i - 1];
    if (previous > floor) {
      EXPECT_EQ(list[i], largestPrimeNotAbove(static_cast<std::int32_t>(previous * 0.9)));
      EXPECT_TRUE(isPrime(list[i]));
    } else {
      EXPECT_EQ(list[i], previous);
    }
  }
  EXPECT_LE(list.back(), floor);
}

TEST(CodeMap, CollidingKeysCascadeIntoTheNextSegment) {
  CodeMap map;
  map.reset(413);
  ASSERT_EQ(map.slotCountOf(1), 157);
  EXPECT_EQ(map.put(5, 50), PutAdded);
  EXPECT_EQ(map.put(5 + 157, 60), PutAdded);
  EXPECT_EQ(map.segmentCount(), 2);
  EXPECT_EQ(map.get(5), 50);
  EXPECT_EQ(map.get(5 + 157), 60);
  EXPECT_EQ(map.get(5 + 2 * 157), kAbsentValue);
}

TEST(CodeMap, FirstValueWinsUnlessReplacing) {
  CodeMap map;
  EXPECT_EQ(map.put(1029, 7), PutAdded);
  EXPECT_EQ(map.put(1029, 8), PutKeptExisting);
  EXPECT_EQ(map.get(1029), 7);
  EXPECT_EQ(map.put(1029, 9, true), PutReplaced);
  EXPECT_EQ(map.get(1029), 9);
  EXPECT_EQ(map.count(), 1);
}

TEST(CodeMap, AbsentKeysAndTheEmptyKey) {
  CodeMap map;
  EXPECT_EQ(map.get(42), kAbsentValue);  // never reset: nothing there
  EXPECT_EQ(map.put(0, 1), PutRejected);  // 0 marks an empty slot
  EXPECT_EQ(map.get(0), kAbsentValue);
  map.put(42, 1);
  map.clear();
  EXPECT_EQ(map.get(42), kAbsentValue);
  EXPECT_EQ(map.segmentCount(), 1);
}

TEST(CodeMap, AgreesWithAStandardMapOverManyKeys) {
  std::mt19937 random(7);
  std::uniform_int_distribution<std::int32_t> keys(-100000, 100000);
  CodeMap map;
  map.reset(50);
  std::unordered_map<std::int32_t, std::int32_t> reference;
  for (int i = 0; i < 20000; ++i) {
    const std::int32_t key = keys(random);
    if (key == 0) continue;
    const std::int32_t value = i + 1;
    const bool fresh = reference.emplace(key, value).second;
    EXPECT_EQ(map.put(key, value), fresh ? PutAdded : PutKeptExisting);
  }
  for (const auto& [key, value] : reference) ASSERT_EQ(map.get(key), value);
  EXPECT_EQ(map.count(), static_cast<std::int32_t>(reference.size()));
  EXPECT_EQ(map.get(100001), kAbsentValue);
}

TEST(CodeMap, RefusedSegmentLeavesTheMapUnchanged) {
  // Segments this large each need pages of their own.
  CodeMap map;
  map.reset(20000);
  const std::int32_t slots = map.slotCountOf(1);
  map.put(1, 10);
  setPageAllocationFailureForTesting([] { return true; });
  EXPECT_EQ(map.put(1 + slots, 20), PutNoSegment);
  setPageAllocationFailureForTesting({});
  EXPECT_EQ(map.get(1), 10);
  EXPECT_EQ(map.get(1 + slots), kAbsentValue);
  EXPECT_EQ(map.put(1 + slots, 20), PutAdded);
}

TEST(PageBlock, RetriesAFailingAllocator) {
  int attempts = 0;
  setPageAllocationFailureForTesting([&] { return ++attempts < kPageAllocationAttempts; });
  PageBlock lastChance(4096);
  EXPECT_TRUE(lastChance.valid());
  attempts = -1000;
  PageBlock never(4096);
  setPageAllocationFailureForTesting({});
  EXPECT_FALSE(never.valid());
}

TEST(HashIndex, FirstValueWinsUnlessReplacing) {
  HashIndex index;
  EXPECT_EQ(index.put("ba'", 6), PutAdded);
  EXPECT_EQ(index.put("ba'", 7), PutKeptExisting);
  EXPECT_EQ(index.get("ba'"), 6);
  EXPECT_EQ(index.put("ba'", 8, true), PutReplaced);
  EXPECT_EQ(index.get("ba'"), 8);
  EXPECT_EQ(index.get("bai'"), kAbsentValue);
  EXPECT_EQ(index.put("", 1), PutRejected);
}

TEST(HashIndex, ReleaseForgetsEverythingAndPutStartsAgain) {
  HashIndex index;
  index.put("abc", 1);
  index.release();
  EXPECT_EQ(index.segmentCount(), 0);
  EXPECT_EQ(index.get("abc"), kAbsentValue);
  EXPECT_EQ(index.put("abc", 2), PutAdded);
  EXPECT_EQ(index.get("abc"), 2);
}

HashIndex indexOfManyKeys(int count) {
  HashIndex index;
  index.reset(40);
  for (int i = 1; i <= count; ++i) {
    EXPECT_EQ(index.put("key" + std::to_string(i), i), PutAdded);
  }
  return index;
}

TEST(HashIndex, ByteFormRoundTripFindsTheSameKeys) {
  const HashIndex original = indexOfManyKeys(3000);
  ASSERT_GT(original.segmentCount(), 3);
  HashIndex copy;
  ASSERT_TRUE(copy.deserialise(original.serialise()));
  EXPECT_EQ(copy.serialise(), original.serialise());
  for (int i = 1; i <= 3000; ++i) ASSERT_EQ(copy.get("key" + std::to_string(i)), i);
  EXPECT_EQ(copy.get("key0"), kAbsentValue);
}

TEST(HashIndex, DamagedByteFormsAreRefusedWithoutOverrun) {
  const std::string form = indexOfManyKeys(100).serialise();
  HashIndex index;
  // Every truncation is refused and leaves the index released.
  for (std::size_t length = 0; length < form.size(); length += (length < 64 ? 1 : 97)) {
    EXPECT_FALSE(index.deserialise(std::string_view(form).substr(0, length))) << length;
    EXPECT_EQ(index.segmentCount(), 0);
  }
  // Flipped header bits either fail or give an index that can still be read.
  for (std::size_t byte = 0; byte < 24; ++byte) {
    for (int bit = 0; bit < 8; ++bit) {
      std::string damaged = form;
      damaged[byte] = static_cast<char>(damaged[byte] ^ (1 << bit));
      if (index.deserialise(damaged)) index.get("key1");
    }
  }
  std::string noSegments = form;
  noSegments[0] = noSegments[1] = noSegments[2] = noSegments[3] = 0;
  EXPECT_FALSE(index.deserialise(noSegments));
}

}  // namespace
}  // namespace qiru
