#pragma once
// A fuzz entry's own checks: when a reader contradicts itself, say what and
// abort, so that the fuzzer keeps the input and the replay test fails.

#include <cstdio>
#include <cstdlib>
#include <span>
#include <string_view>

namespace qiru::fuzz {

inline void check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

inline std::string_view textOf(std::span<const std::uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace qiru::fuzz
