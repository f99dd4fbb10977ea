// One libFuzzer program per entry: QIRU_FUZZ_TARGET names the entry.

#include <cstdlib>

#include "fuzz/fuzz_entries.h"

namespace {

qiru::fuzz::FuzzEntry entryNamed(std::string_view name) {
  for (const auto& named : qiru::fuzz::kFuzzEntries) {
    if (named.name == name) return named.entry;
  }
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const qiru::fuzz::FuzzEntry entry = entryNamed(QIRU_FUZZ_TARGET);
  entry({data, size});
  return 0;
}
