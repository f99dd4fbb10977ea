// The code dictionary and the value pool under it: first value wins, empty
// keys and values are refused, a reset forgets everything, and a failing
// page allocator leaves the store as it was.

#include <gtest/gtest.h>

#include <string>

#include "materials/code_dictionary.h"
#include "materials/value_pool.h"
#include "support/page_block.h"

namespace qiru {
namespace {

CodeDictionary freshDictionary(std::int32_t capacity = 500) {
  CodeDictionary dictionary;
  dictionary.Reset(capacity);
  return dictionary;
}

TEST(CodeDictionary, AddTextResultsAndWhatStays) {
  CodeDictionary dictionary = freshDictionary();
  struct Case {
    std::string_view key, value;
    std::int32_t result;
  };
  const Case cases[] = {
      {"OGB:NGBDI", "北京", AddTextAdded},
      {"OGB:NGBDI", "背景", AddTextKeyPresent},  // same code again: the first text stays
      {"ogb:ngbdi", "小写", AddTextAdded},       // case matters
      {"OGB: NGBDI", "空格", AddTextAdded},      // so do spaces
      {"", "无键", AddTextEmpty},
      {"AB:FL", "", AddTextEmpty},
  };
  for (const Case& c : cases) EXPECT_EQ(dictionary.AddText(c.key, c.value), c.result) << c.key;
  EXPECT_EQ(dictionary.LookupText("OGB:NGBDI"), "北京");
  EXPECT_EQ(dictionary.LookupText("ogb:ngbdi"), "小写");
  EXPECT_EQ(dictionary.LookupText("OGB: NGBDI"), "空格");
  EXPECT_EQ(dictionary.LookupText("AB:FL"), "");  // refused, so never stored
  EXPECT_EQ(dictionary.LookupText("never added"), "");
  EXPECT_EQ(dictionary.LookupText(""), "");
  EXPECT_EQ(dictionary.count(), 3);
}

TEST(CodeDictionary, ResetForgetsEveryKeyWhateverTheCapacity) {
  for (const std::int32_t capacity : {1, 500, 200000}) {
    CodeDictionary dictionary = freshDictionary();
    ASSERT_EQ(dictionary.AddText("AB:FL", "把是"), AddTextAdded);
    dictionary.Reset(capacity);
    EXPECT_EQ(dictionary.LookupText("AB:FL"), "") << capacity;
    EXPECT_EQ(dictionary.count(), 0);
    EXPECT_EQ(dictionary.AddText("AB:FL", "新"), AddTextAdded) << capacity;
    EXPECT_EQ(dictionary.LookupText("AB:FL"), "新");
  }
}

TEST(CodeDictionary, ThousandsOfCodesOutgrowTheFirstArenaAndIndexSize) {
  CodeDictionary dictionary = freshDictionary();
  const auto valueOf = [](int i) { return "条目" + std::to_string(i) + std::string(static_cast<std::size_t>(i % 37), 'x'); };
  for (int i = 1; i <= 5000; ++i) ASSERT_EQ(dictionary.AddText("code" + std::to_string(i), valueOf(i)), AddTextAdded);
  for (int i = 1; i <= 5000; ++i) ASSERT_EQ(dictionary.LookupText("code" + std::to_string(i)), valueOf(i));
}

// The arena starts at 10240 bytes and the table at 500 slots; each grows by
// that step, or doubles once that is more, so that a long material is not
// copied over and over.
TEST(ValuePool, ArenaAndTableGrowByTheirStepOrDouble) {
  ValuePool pool;
  EXPECT_EQ(pool.append("a"), 1);
  EXPECT_EQ(pool.arenaBytes(), 10240u);
  EXPECT_EQ(pool.offsetCapacity(), 500u);
  // One value larger than two steps: the arena grows as often as needed.
  const std::string big(25000, 'b');
  EXPECT_EQ(pool.append(big), 2);
  EXPECT_EQ(pool.arenaBytes(), 40960u);
  for (int i = 3; i <= 501; ++i) pool.append("v");
  EXPECT_EQ(pool.offsetCapacity(), 1000u);
  for (int i = 502; i <= 1001; ++i) pool.append("v");
  EXPECT_EQ(pool.offsetCapacity(), 2000u);
  EXPECT_EQ(pool.valueOf(1), "a");
  EXPECT_EQ(pool.valueOf(2), big);
  EXPECT_EQ(pool.valueOf(0), "");
  EXPECT_EQ(pool.valueOf(1002), "");
}

class FailingPageAllocator {
 public:
  FailingPageAllocator() { setPageAllocationFailureForTesting([] { return true; }); }
  ~FailingPageAllocator() { setPageAllocationFailureForTesting({}); }
};

TEST(CodeDictionary, AnAddThatCannotGetMemoryChangesNothing) {
  CodeDictionary dictionary = freshDictionary();
  ASSERT_EQ(dictionary.AddText("AB:FL", "把是"), AddTextAdded);
  const std::string needsAGrownArena(20000, 'z');
  {
    FailingPageAllocator failing;
    EXPECT_EQ(dictionary.AddText("AD:", needsAGrownArena), AddTextNotStored);
  }
  EXPECT_EQ(dictionary.LookupText("AD:"), "");
  EXPECT_EQ(dictionary.LookupText("AB:FL"), "把是");
  EXPECT_EQ(dictionary.count(), 1);
  EXPECT_EQ(dictionary.AddText("AD:", needsAGrownArena), AddTextAdded);
  EXPECT_EQ(dictionary.LookupText("AD:"), needsAGrownArena);
}

}  // namespace
}  // namespace qiru
