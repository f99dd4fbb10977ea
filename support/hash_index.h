#pragma once
// The byte-keyed cascading map: a key given as bytes (a text is taken as its
// bytes) to a 32-bit value. A slot holds the key's CRC-32 identity, never the
// key itself, so every key costs 8 bytes; two keys with the same CRC-32 are
// one key for the index. Each segment offers a key two candidate slots.

#include <cstdint>
#include <string>
#include <string_view>

#include "support/code_map.h"
#include "support/segment_cascade.h"

namespace qiru {

class HashIndex {
 public:
  HashIndex() : cascade_(SizeTiers::ByteKeys) {}

  void reset(std::int32_t expectedCount, bool countGiven = true);
  // Drops every segment and the size list; the next put sizes it again.
  void release();
  std::int32_t put(std::string_view key, std::int32_t value, bool replace = false);
  // The value, or kAbsentValue (-99999999) when the key is absent.
  std::int32_t get(std::string_view key) const;

  std::string serialise() const;
  // Replaces the whole index; false (index released) for a form without a
  // segment or one that does not agree with its own counts and lengths.
  bool deserialise(std::string_view bytes);

  std::int32_t segmentCount() const { return cascade_.segmentCount(); }

 private:
  SegmentCascade cascade_;
};

}  // namespace qiru
