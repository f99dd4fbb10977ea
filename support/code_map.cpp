#include "support/code_map.h"

namespace qiru {

void CodeMap::reset(std::int32_t expectedCount, bool countGiven) {
  cascade_.reset(countGiven ? expectedCount : kDefaultExpectedCount);
  count_ = 0;
}

void CodeMap::ensureReset() {
  if (cascade_.segmentCount() == 0) reset();
}

std::int32_t CodeMap::put(std::int32_t key, std::int32_t value, bool replace) {
  if (key == 0) return PutRejected;
  ensureReset();
  if (cascade_.segmentCount() == 0) return PutNoSegment;
  const auto hash = static_cast<std::uint32_t>(key);
  for (std::int32_t segment = 1;; ++segment) {
    if (segment > cascade_.segmentCount() && !cascade_.addSegment()) return PutNoSegment;
    SegmentCascade::Slot slot = cascade_.read(segment, hash);
    if (slot.key == 0) {
      cascade_.write(segment, hash, {key, value});
      ++count_;
      return PutAdded;
    }
    if (slot.key == key) {
      if (!replace) return PutKeptExisting;
      cascade_.write(segment, hash, {key, value});
      return PutReplaced;
    }
  }
}

std::int32_t CodeMap::get(std::int32_t key) const {
  // A map that was never reset holds nothing; answering here keeps get free
  // of side effects, so reader threads may call it at the same time.
  const auto hash = static_cast<std::uint32_t>(key);
  for (std::int32_t segment = 1; segment <= cascade_.segmentCount(); ++segment) {
    const SegmentCascade::Slot slot = cascade_.read(segment, hash);
    if (slot.key == key && key != 0) return slot.value;
  }
  return kAbsentValue;
}

void CodeMap::clear() {
  cascade_.clear();
  count_ = 0;
}

}  // namespace qiru
