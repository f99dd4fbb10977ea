#include "support/text_pool.h"

#include <algorithm>
#include <cstring>

#include "support/byte_io.h"

namespace qiru {
namespace {
constexpr std::size_t kArenaGrowthBytes = 10240;
}

void TextPool::clear() {
  offsets_.clear();
  arena_ = PageBlock();
  arenaUsed_ = 0;
}

bool TextPool::reserveArena(std::size_t bytes) {
  // The arena always keeps one spare zero byte after the used part, so a
  // text read at any stored offset ends inside the arena.
  if (arena_.valid() && bytes < arena_.size()) return true;
  PageBlock grown(std::max(bytes + 1, arena_.size() + kArenaGrowthBytes));
  if (!grown.valid()) return false;
  if (arenaUsed_ > 0) std::memcpy(grown.data(), arena_.data(), arenaUsed_);
  arena_ = std::move(grown);
  return true;
}

bool TextPool::append(std::string_view text) {
  text = text.substr(0, std::min(text.size(), text.find('\0')));
  if (!reserveArena(arenaUsed_ + text.size() + 1)) return false;
  if (!text.empty()) std::memcpy(arena_.data() + arenaUsed_, text.data(), text.size());
  arena_.data()[arenaUsed_ + text.size()] = 0;
  offsets_.push_back(static_cast<std::int32_t>(arenaUsed_));
  arenaUsed_ += text.size() + 1;
  return true;
}

std::string_view TextPool::getText(std::int32_t number) const {
  if (number < 1 || number > count()) return {};
  const auto* start = reinterpret_cast<const char*>(arena_.data()) + offsets_[static_cast<std::size_t>(number - 1)];
  return std::string_view(start);
}

std::string TextPool::serialise() const {
  std::string out;
  appendInt32(out, count());
  for (std::int32_t offset : offsets_) appendInt32(out, offset);
  appendInt32(out, static_cast<std::int32_t>(arenaUsed_));
  if (arenaUsed_ > 0) out.append(reinterpret_cast<const char*>(arena_.data()), arenaUsed_);
  return out;
}

bool TextPool::deserialise(std::string_view bytes) {
  clear();
  ByteReader reader(bytes);
  std::int32_t textCount = 0;
  if (!reader.readInt32(textCount) || textCount < 1 ||
      static_cast<std::uint64_t>(textCount) * 4 > reader.remaining()) {
    return false;
  }
  std::vector<std::int32_t> offsets(static_cast<std::size_t>(textCount));
  for (auto& offset : offsets) reader.readInt32(offset);
  std::int32_t arenaUsed = 0;
  std::string_view arenaBytes;
  if (!reader.readInt32(arenaUsed) || !reader.readBytes(arenaUsed, arenaBytes)) return false;
  const bool offsetsInside = std::all_of(offsets.begin(), offsets.end(), [&](std::int32_t offset) {
    return offset >= 0 && offset <= arenaUsed;
  });
  if (!offsetsInside || !reserveArena(arenaBytes.size())) {
    clear();
    return false;
  }
  std::memcpy(arena_.data(), arenaBytes.data(), arenaBytes.size());
  arenaUsed_ = arenaBytes.size();
  offsets_ = std::move(offsets);
  return true;
}

}  // namespace qiru
