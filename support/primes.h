#pragma once
// Prime slot counts for the cascading hash maps: successive segments shrink
// by about a tenth, each to a prime so that keys spread over every slot.

#include <cstdint>
#include <span>

namespace qiru {

// The ascending primes from 2 to 29,989 (3,245 of them).
std::span<const std::int32_t> smallPrimes();

// The largest prime not above x: 0 for x < 2; above the table, a trial
// division search that gives up at 29,989.
std::int32_t largestPrimeNotAbove(std::int32_t x);

}  // namespace qiru
