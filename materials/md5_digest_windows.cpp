#include <windows.h>
// bcrypt.h needs the types of windows.h.
#include <bcrypt.h>

#include <algorithm>
#include <limits>

#include "materials/md5_digest.h"

namespace qiru {

// The system's MD5 through the CNG primitives (bcrypt), which every
// supported Windows has.
struct Md5Digest::State {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  BCRYPT_HASH_HANDLE hash = nullptr;
  bool failed = false;
};

Md5Digest::Md5Digest() : state_(std::make_unique<State>()) {
  if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&state_->algorithm, BCRYPT_MD5_ALGORITHM, nullptr, 0))) {
    state_->algorithm = nullptr;
    return;
  }
  // The system keeps the hash object itself (no buffer of ours).
  if (!BCRYPT_SUCCESS(BCryptCreateHash(state_->algorithm, &state_->hash, nullptr, 0, nullptr, 0, 0))) {
    state_->hash = nullptr;
  }
}

Md5Digest::~Md5Digest() {
  if (state_->hash) BCryptDestroyHash(state_->hash);
  if (state_->algorithm) BCryptCloseAlgorithmProvider(state_->algorithm, 0);
}

bool Md5Digest::valid() const { return state_->hash != nullptr && !state_->failed; }

void Md5Digest::update(std::span<const std::uint8_t> bytes) {
  if (!valid()) return;
  // BCryptHashData takes at most 4 GiB - 1 at a time.
  constexpr std::size_t kMaxPieceBytes = std::numeric_limits<ULONG>::max();
  while (!bytes.empty()) {
    const std::size_t piece = std::min(bytes.size(), kMaxPieceBytes);
    if (!BCRYPT_SUCCESS(BCryptHashData(state_->hash, const_cast<PUCHAR>(bytes.data()), static_cast<ULONG>(piece), 0))) {
      state_->failed = true;
      return;
    }
    bytes = bytes.subspan(piece);
  }
}

bool Md5Digest::finish(Md5Bytes& digest) {
  if (!valid()) return false;
  return BCRYPT_SUCCESS(BCryptFinishHash(state_->hash, digest.data(), static_cast<ULONG>(digest.size()), 0));
}

}  // namespace qiru
