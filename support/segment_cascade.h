#pragma once
// The storage shared by the cascading maps: a list of open-addressed
// segments of 8-byte slots (a 32-bit key or key identity, a 32-bit value).
// A key has one candidate slot per segment (two in the byte-keyed index); a
// collision sends it on to the next segment, and a new segment is added when
// every existing one is taken at the key's slots. Nothing is ever rehashed
// or moved, so a put costs at most a few slot checks per segment.

#include <cstdint>
#include <string>
#include <vector>

#include "support/byte_io.h"
#include "support/page_block.h"

namespace qiru {

// The answer of a byte-keyed map for an absent key (bit pattern 0xFA0A1F01).
inline constexpr std::int32_t kAbsentValue = -99999999;
inline constexpr std::int32_t kDefaultExpectedCount = 500;
inline constexpr std::int32_t kSlotBytes = 8;

// The slot count of the first segments for an expected count. The integer
// maps stop at 43,853; the byte-keyed index has one more tier for a million
// keys and more.
enum class SizeTiers { IntegerKeys, ByteKeys };

class SegmentCascade {
 public:
  struct Slot {
    std::int32_t key;  // 0: empty
    std::int32_t value;
  };

  explicit SegmentCascade(SizeTiers tiers) : tiers_(tiers) {}

  // The size list for an expected count: one size up to 10,000 entries,
  // else 50 sizes shrinking by a tenth to primes, down to a fifth of the base.
  static std::vector<std::int32_t> sizeListFor(std::int32_t expectedCount, SizeTiers tiers);

  // Drops every segment, sizes the list anew and creates segment 1.
  // False when segment 1 could not be had (the cascade is then empty).
  bool reset(std::int32_t expectedCount);
  // Drops every segment and the size list.
  void release();
  // Drops every segment and leaves one empty segment of the first size.
  bool clear();

  std::int32_t segmentCount() const { return static_cast<std::int32_t>(segments_.size()); }
  std::int32_t sizeCount() const { return static_cast<std::int32_t>(sizeList_.size()); }
  const std::vector<std::int32_t>& sizeList() const { return sizeList_; }

  // Slot count of segment i (1-based): entry min(i, size count) of the list.
  std::int32_t slotCountOf(std::int32_t segment) const {
    return sizeList_[static_cast<std::size_t>(std::min(segment, sizeCount()) - 1)];
  }

  // Adds the next segment, zero-filled. False when the allocator refused.
  bool addSegment();

  // The slot of an unsigned hash in segment i (1-based): hash mod size + 1.
  Slot read(std::int32_t segment, std::uint32_t hash) const;
  void write(std::int32_t segment, std::uint32_t hash, Slot slot);

  // Byte form: segment count, size count, size list length and sizes, then
  // each segment's length and slots as held in memory.
  std::string serialise() const;
  // Replaces the cascade by a byte form; false (leaving it released) when the
  // form holds no segment or disagrees with the bytes at hand.
  bool deserialise(ByteReader& reader);

 private:
  unsigned char* slotAddress(std::int32_t segment, std::uint32_t hash) const;

  // Segments are carved one after another out of page-allocated chunks:
  // they are only ever added, and all let go together, so the small
  // segments of the scheme's tables cost one page request between them
  // instead of one each.
  static constexpr std::size_t kChunkBytes = 64 * 1024;

  SizeTiers tiers_;
  std::vector<std::int32_t> sizeList_;
  std::vector<unsigned char*> segments_;
  std::vector<PageBlock> chunks_;
  std::size_t chunkUsed_ = 0;
};

}  // namespace qiru
