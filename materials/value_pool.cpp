#include "materials/value_pool.h"

#include <algorithm>
#include <cstring>

#include "support/byte_io.h"

namespace qiru {

void ValuePool::clear() {
  offsets_ = {};
  arena_ = PageBlock();
  arenaUsed_ = 0;
}

bool ValuePool::reserveArena(std::size_t bytes) {
  if (arena_.valid() && bytes <= arena_.size()) return true;
  std::size_t size = arena_.size();
  // Each step doubles the arena, and adds never less than the growth step:
  // a material of a million lines is copied a dozen times, not thousands.
  while (size < bytes) size += std::max(kArenaGrowthBytes, size);
  PageBlock grown(size);
  if (!grown.valid()) return false;
  if (arenaUsed_ > 0) std::memcpy(grown.data(), arena_.data(), arenaUsed_);
  arena_ = std::move(grown);
  return true;
}

std::int32_t ValuePool::append(std::string_view value) {
  const std::size_t recordBytes = 4 + value.size();
  if (!reserveArena(arenaUsed_ + recordBytes)) return 0;
  if (offsets_.size() == offsets_.capacity()) {
    offsets_.reserve(offsets_.capacity() + std::max(kOffsetGrowthSlots, offsets_.capacity()));
  }
  unsigned char* record = arena_.data() + arenaUsed_;
  const auto length = static_cast<std::uint32_t>(value.size());
  for (int i = 0; i < 4; ++i) record[i] = static_cast<unsigned char>(length >> (8 * i));
  if (!value.empty()) std::memcpy(record + 4, value.data(), value.size());
  offsets_.push_back(static_cast<std::int32_t>(arenaUsed_));
  arenaUsed_ += recordBytes;
  return count();
}

void ValuePool::dropLast() {
  if (offsets_.empty()) return;
  arenaUsed_ = static_cast<std::size_t>(offsets_.back());
  offsets_.pop_back();
}

std::string_view ValuePool::valueOf(std::int32_t number) const {
  if (number < 1 || number > count()) return {};
  const unsigned char* record = arena_.data() + offsets_[static_cast<std::size_t>(number - 1)];
  return {reinterpret_cast<const char*>(record + 4), static_cast<std::size_t>(readInt32At(record))};
}

}  // namespace qiru
