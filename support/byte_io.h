#pragma once
// Little-endian reading and writing of the byte forms the program stores.
// The reader never goes past the bytes at hand: every read says whether the
// bytes were there, so a truncated or corrupted form is refused, not overrun.

#include <cstdint>
#include <string>
#include <string_view>

namespace qiru {

class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  bool readInt32(std::int32_t& value) {
    if (remaining() < 4) return false;
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes_[position_ + i]);
    value = static_cast<std::int32_t>(v);
    position_ += 4;
    return true;
  }

  // A length read from the data, then that many bytes.
  bool readBytes(std::int64_t count, std::string_view& out) {
    if (count < 0 || static_cast<std::uint64_t>(count) > remaining()) return false;
    out = bytes_.substr(position_, static_cast<std::size_t>(count));
    position_ += static_cast<std::size_t>(count);
    return true;
  }

  std::size_t remaining() const { return bytes_.size() - position_; }
  std::size_t position() const { return position_; }

 private:
  std::string_view bytes_;
  std::size_t position_ = 0;
};

inline void appendInt32(std::string& out, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

inline std::int32_t readInt32At(const unsigned char* p) {
  return static_cast<std::int32_t>(std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 |
                                   std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24);
}

}  // namespace qiru
