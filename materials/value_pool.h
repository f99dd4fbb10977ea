#pragma once
// The values of the code dictionary: numbered byte strings (1, 2, 3, ... in
// order of insertion) kept in one page-allocated arena rather than one heap
// block each, so that a material of thousands of lines costs a handful of
// allocations. Each value sits in the arena as a 32-bit little-endian length
// followed by its bytes.

#include <cstdint>
#include <string_view>
#include <vector>

#include "support/page_block.h"

namespace qiru {

class ValuePool {
 public:
  // The arena starts at this size and grows by it, or by its own size once
  // that is more, as often as a value needs.
  static constexpr std::size_t kArenaGrowthBytes = 10240;
  // The table of arena offsets grows by this many slots when it is full, or
  // by its own size once that is more.
  static constexpr std::size_t kOffsetGrowthSlots = 500;

  // Releases the arena and forgets every value.
  void clear();
  // Stores a value as number count() + 1 and returns that number; 0 when
  // the arena could not grow (the pool is then unchanged).
  std::int32_t append(std::string_view value);
  // Forgets the value appended last (an add that could not be completed).
  void dropLast();
  // Value number k; "" outside 1..count().
  std::string_view valueOf(std::int32_t number) const;

  std::int32_t count() const { return static_cast<std::int32_t>(offsets_.size()); }
  std::size_t offsetCapacity() const { return offsets_.capacity(); }
  std::size_t arenaBytes() const { return arena_.size(); }

 private:
  bool reserveArena(std::size_t bytes);

  std::vector<std::int32_t> offsets_;  // by value number - 1
  PageBlock arena_;
  std::size_t arenaUsed_ = 0;
};

}  // namespace qiru
