#include "support/primes.h"

#include <algorithm>
#include <vector>

namespace qiru {
namespace {

constexpr std::int32_t kPrimeTableLimit = 29990;  // the table holds the primes below this

std::vector<std::int32_t> sievePrimes() {
  std::vector<bool> composite(kPrimeTableLimit, false);
  std::vector<std::int32_t> primes;
  for (std::int32_t n = 2; n < kPrimeTableLimit; ++n) {
    if (composite[n]) continue;
    primes.push_back(n);
    for (std::int64_t m = std::int64_t{n} * n; m < kPrimeTableLimit; m += n) composite[m] = true;
  }
  return primes;
}

bool isPrimeByTable(std::int32_t x) {
  for (std::int32_t p : smallPrimes()) {
    if (std::int64_t{p} * p > x) return true;
    if (x % p == 0) return false;
  }
  return true;
}

}  // namespace

std::span<const std::int32_t> smallPrimes() {
  static const std::vector<std::int32_t> primes = sievePrimes();
  return primes;
}

std::int32_t largestPrimeNotAbove(std::int32_t x) {
  if (x < 2) return 0;
  const auto primes = smallPrimes();
  if (x < kPrimeTableLimit) {
    return *(std::upper_bound(primes.begin(), primes.end(), x) - 1);
  }
  for (std::int32_t candidate = x; candidate >= primes.back(); --candidate) {
    if (isPrimeByTable(candidate)) return candidate;
  }
  return primes.back();
}

}  // namespace qiru
