#include "support/hash_index.h"

#include <array>

#include "support/hashes.h"

namespace qiru {
namespace {

struct KeyHashes {
  std::int32_t identity;
  std::array<std::uint32_t, 2> probes;
};

KeyHashes hashesOf(std::string_view key) {
  if (key.empty()) return {0, {0, 0}};
  return {crc32Of(key),
          {static_cast<std::uint32_t>(foldHash31(key)), static_cast<std::uint32_t>(adlerFromZero(key))}};
}

}  // namespace

void HashIndex::reset(std::int32_t expectedCount, bool countGiven) {
  cascade_.reset(countGiven ? expectedCount : kDefaultExpectedCount);
}

void HashIndex::release() { cascade_.release(); }

std::int32_t HashIndex::put(std::string_view key, std::int32_t value, bool replace) {
  const KeyHashes hashes = hashesOf(key);
  if (hashes.identity == 0) return PutRejected;
  if (cascade_.segmentCount() == 0) reset(0, false);
  if (cascade_.segmentCount() == 0) return PutNoSegment;
  for (std::int32_t segment = 1;; ++segment) {
    if (segment > cascade_.segmentCount() && !cascade_.addSegment()) return PutNoSegment;
    for (std::uint32_t probe : hashes.probes) {
      const SegmentCascade::Slot slot = cascade_.read(segment, probe);
      if (slot.key == 0) {
        cascade_.write(segment, probe, {hashes.identity, value});
        return PutAdded;
      }
      if (slot.key == hashes.identity) {
        if (!replace) return PutKeptExisting;
        cascade_.write(segment, probe, {hashes.identity, value});
        return PutReplaced;
      }
    }
  }
}

std::int32_t HashIndex::get(std::string_view key) const {
  const KeyHashes hashes = hashesOf(key);
  for (std::int32_t segment = 1; segment <= cascade_.segmentCount(); ++segment) {
    for (std::uint32_t probe : hashes.probes) {
      const SegmentCascade::Slot slot = cascade_.read(segment, probe);
      if (slot.key == hashes.identity && slot.key != 0) return slot.value;
    }
  }
  return kAbsentValue;
}

std::string HashIndex::serialise() const { return cascade_.serialise(); }

bool HashIndex::deserialise(std::string_view bytes) {
  ByteReader reader(bytes);
  return cascade_.deserialise(reader);
}

}  // namespace qiru
