#pragma once
// The integer-keyed cascading map behind the decoding tables: chord value
// (a key set or a two-area code, always >= 1) to a value >= 1.

#include <cstdint>

#include "support/segment_cascade.h"

namespace qiru {

enum PutResult : std::int32_t {
  PutAdded = 1,
  PutKeptExisting = 0,   // key present, replace off: the first value stays
  PutReplaced = 2,
  PutRejected = -1,      // key 0 (or an empty byte key): it would read as an empty slot
  PutNoSegment = -2,     // a needed segment could not be had
};

class CodeMap {
 public:
  CodeMap() : cascade_(SizeTiers::IntegerKeys) {}

  // Empties the map and sizes it for an expected count (500 when not given).
  void reset(std::int32_t expectedCount, bool countGiven = true);
  void reset() { reset(0, false); }
  // Key 0 marks an empty slot and cannot be stored.
  std::int32_t put(std::int32_t key, std::int32_t value, bool replace = false);
  // The value, or kAbsentValue when the key is not present.
  std::int32_t get(std::int32_t key) const;
  // Drops every entry, keeping one empty segment of the first size.
  void clear();

  std::int32_t count() const { return count_; }
  std::int32_t segmentCount() const { return cascade_.segmentCount(); }
  std::int32_t slotCountOf(std::int32_t segment) const { return cascade_.slotCountOf(segment); }

 private:
  void ensureReset();
  SegmentCascade cascade_;
  std::int32_t count_ = 0;
};

}  // namespace qiru
