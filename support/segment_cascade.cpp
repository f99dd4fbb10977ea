#include "support/segment_cascade.h"

#include <algorithm>
#include <cstring>

#include "support/primes.h"

namespace qiru {
namespace {

constexpr std::int32_t kLargeMapThreshold = 10000;  // above it, 50 shrinking sizes
constexpr int kSizeListLength = 50;
constexpr int kEqualSizesAtStart = 10;

std::int32_t baseSizeFor(std::int32_t n, SizeTiers tiers) {
  if (n < 100) return 31;
  if (n < 1000) return 157;
  if (n < 10000) return 1531;
  if (n < 100000) return 15313;
  if (tiers == SizeTiers::ByteKeys && n >= 1000000) return 483853;
  return 43853;
}

}  // namespace

std::vector<std::int32_t> SegmentCascade::sizeListFor(std::int32_t n, SizeTiers tiers) {
  const std::int32_t base = baseSizeFor(n, tiers);
  if (n <= kLargeMapThreshold) return {base};
  std::vector<std::int32_t> sizes(kEqualSizesAtStart, base);
  const auto floor = static_cast<std::int32_t>(base * 0.2);
  while (static_cast<int>(sizes.size()) < kSizeListLength) {
    const std::int32_t previous = sizes.back();
    sizes.push_back(previous > floor ? largestPrimeNotAbove(static_cast<std::int32_t>(previous * 0.9))
                                     : previous);
  }
  return sizes;
}

bool SegmentCascade::reset(std::int32_t expectedCount) {
  release();
  sizeList_ = sizeListFor(expectedCount, tiers_);
  return addSegment();
}

void SegmentCascade::release() {
  segments_.clear();
  chunks_.clear();
  chunkUsed_ = 0;
  sizeList_.clear();
}

bool SegmentCascade::clear() {
  if (sizeList_.empty()) return reset(kDefaultExpectedCount);
  segments_.clear();
  chunks_.clear();
  chunkUsed_ = 0;
  return addSegment();
}

bool SegmentCascade::addSegment() {
  const std::size_t bytes = static_cast<std::size_t>(slotCountOf(segmentCount() + 1)) * kSlotBytes;
  if (chunks_.empty() || chunks_.back().size() - chunkUsed_ < bytes) {
    PageBlock chunk(std::max(bytes, kChunkBytes));
    if (!chunk.valid()) return false;
    chunks_.push_back(std::move(chunk));
    chunkUsed_ = 0;
  }
  // Fresh pages are zero-filled and no segment is ever handed out twice.
  segments_.push_back(chunks_.back().data() + chunkUsed_);
  chunkUsed_ += bytes;
  return true;
}

unsigned char* SegmentCascade::slotAddress(std::int32_t segment, std::uint32_t hash) const {
  const auto slots = static_cast<std::uint32_t>(slotCountOf(segment));
  // Slot numbers are 1-based (hash mod size + 1); memory is 0-based.
  const std::uint32_t index = hash % slots;
  return segments_[static_cast<std::size_t>(segment - 1)] + std::size_t{index} * kSlotBytes;
}

SegmentCascade::Slot SegmentCascade::read(std::int32_t segment, std::uint32_t hash) const {
  Slot slot;
  std::memcpy(&slot, slotAddress(segment, hash), sizeof slot);
  return slot;
}

void SegmentCascade::write(std::int32_t segment, std::uint32_t hash, Slot slot) {
  std::memcpy(slotAddress(segment, hash), &slot, sizeof slot);
}

std::string SegmentCascade::serialise() const {
  std::string out;
  appendInt32(out, segmentCount());
  appendInt32(out, sizeCount());
  appendInt32(out, sizeCount() * 4);
  for (std::int32_t size : sizeList_) appendInt32(out, size);
  for (std::int32_t segment = 1; segment <= segmentCount(); ++segment) {
    const std::int32_t bytes = slotCountOf(segment) * kSlotBytes;
    appendInt32(out, bytes);
    out.append(reinterpret_cast<const char*>(segments_[static_cast<std::size_t>(segment - 1)]),
               static_cast<std::size_t>(bytes));
  }
  return out;
}

bool SegmentCascade::deserialise(ByteReader& reader) {
  release();
  std::int32_t segments = 0, sizes = 0, sizeBytes = 0;
  if (!reader.readInt32(segments) || !reader.readInt32(sizes) || !reader.readInt32(sizeBytes)) return false;
  // Every count is checked against the bytes at hand before anything is
  // allocated, so a corrupted form cannot ask for gigabytes.
  if (segments <= 0 || sizes <= 0 || std::int64_t{sizeBytes} != std::int64_t{sizes} * 4 ||
      static_cast<std::size_t>(sizeBytes) > reader.remaining()) {
    return false;
  }
  std::vector<std::int32_t> sizeList(static_cast<std::size_t>(sizes));
  for (auto& size : sizeList) {
    reader.readInt32(size);
    if (size <= 0) return false;
  }
  sizeList_ = std::move(sizeList);
  for (std::int32_t segment = 1; segment <= segments; ++segment) {
    std::int32_t bytes = 0;
    std::string_view slots;
    if (!reader.readInt32(bytes) || std::int64_t{bytes} != std::int64_t{slotCountOf(segment)} * kSlotBytes ||
        !reader.readBytes(bytes, slots) || !addSegment()) {
      release();
      return false;
    }
    std::memcpy(segments_.back(), slots.data(), slots.size());
  }
  return true;
}

}  // namespace qiru
