#include <nettle/md5.h>

#include "materials/md5_digest.h"

namespace qiru {

struct Md5Digest::State {
  md5_ctx context;
};

Md5Digest::Md5Digest() : state_(std::make_unique<State>()) { md5_init(&state_->context); }

Md5Digest::~Md5Digest() = default;

bool Md5Digest::valid() const { return true; }

void Md5Digest::update(std::span<const std::uint8_t> bytes) {
  md5_update(&state_->context, bytes.size(), bytes.data());
}

bool Md5Digest::finish(Md5Bytes& digest) {
  static_assert(MD5_DIGEST_SIZE == kMd5DigestBytes);
  md5_digest(&state_->context, digest.size(), digest.data());
  return true;
}

}  // namespace qiru
