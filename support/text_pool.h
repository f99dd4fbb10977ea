#pragma once
// A numbered list of texts (1-based) in one page-allocated arena, each text
// stored zero-terminated and found through a table of arena offsets.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/page_block.h"

namespace qiru {

class TextPool {
 public:
  // Empties the pool.
  void clear();
  // Appends a text as number count() + 1. A text holding a zero byte is cut
  // there, as it would be when read back. False when the arena could not grow.
  bool append(std::string_view text);
  // Text number k, or "" outside 1..count().
  std::string_view getText(std::int32_t number) const;
  std::int32_t count() const { return static_cast<std::int32_t>(offsets_.size()); }

  // Byte form: count, the offsets of texts 1..count, the arena length, the
  // arena bytes.
  std::string serialise() const;
  // False (and an empty pool) for a count below 1 or a form whose offsets
  // or lengths do not fit the bytes at hand.
  bool deserialise(std::string_view bytes);

 private:
  bool reserveArena(std::size_t bytes);
  std::vector<std::int32_t> offsets_;
  PageBlock arena_;
  std::size_t arenaUsed_ = 0;
};

}  // namespace qiru
