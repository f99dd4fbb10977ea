#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_entries.h"
#include "materials/material_set.h"
#include "support/text_encoding.h"

namespace qiru::fuzz {
namespace {

// Enough entries to see the legal lines repeated when a file has few.
constexpr std::int32_t kEntriesAsked = 12;

}  // namespace

void materialParser(std::span<const std::uint8_t> bytes) {
  MaterialSet set;
  set.seedShuffle(1);
  const bool parsed = set.Parse(gbkToUtf8(textOf(bytes)), kEntriesAsked);
  if (!parsed) {
    check(set.Count() == 0, "a refused material leaves entries behind");
    return;
  }
  check(set.Count() == kEntriesAsked, "a parsed material does not give the entries asked for");
  check(set.legalCount() >= kFewestLegalEntries, "a material with too few legal lines was accepted");
  MaterialEntry entry;
  for (std::int32_t position = 1; position <= set.Count(); ++position) {
    check(set.GetEntry(position, entry), "an entry inside the count cannot be read");
    check(!entry.text.empty(), "an entry has no text");
    check(set.ChordCount(position) == entry.chordCount, "an entry's chord count disagrees");
  }
  check(!set.GetEntry(set.Count() + 1, entry), "an entry past the count can be read");
}

}  // namespace qiru::fuzz
