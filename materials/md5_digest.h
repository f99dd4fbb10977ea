#pragma once
// One MD5 digest in progress, computed by a maintained implementation: the
// system's on Windows, nettle elsewhere (one file per platform).

#include <array>
#include <cstdint>
#include <memory>
#include <span>

namespace qiru {

inline constexpr std::size_t kMd5DigestBytes = 16;
using Md5Bytes = std::array<std::uint8_t, kMd5DigestBytes>;

class Md5Digest {
 public:
  Md5Digest();
  ~Md5Digest();
  Md5Digest(const Md5Digest&) = delete;
  Md5Digest& operator=(const Md5Digest&) = delete;

  // False when the system could not start a digest; update and finish then
  // do nothing and finish gives no value.
  bool valid() const;
  void update(std::span<const std::uint8_t> bytes);
  // The digest of everything given; the digest cannot be used afterwards.
  // False when the system failed to complete it.
  bool finish(Md5Bytes& digest);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace qiru
