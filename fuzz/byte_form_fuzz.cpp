#include <algorithm>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_entries.h"
#include "support/hash_index.h"
#include "support/text_pool.h"

namespace qiru::fuzz {
namespace {

// Texts looked at after a pool is read: enough to walk its offsets.
constexpr std::int32_t kTextsLookedAt = 64;

// A form the reader takes must write out to a form it takes again, the same.
template <typename Form>
void checkWritesBack(const Form& read, const char* what) {
  const std::string written = read.serialise();
  Form again;
  check(again.deserialise(written), what);
  check(again.serialise() == written, what);
}

}  // namespace

void hashIndexForm(std::span<const std::uint8_t> bytes) {
  HashIndex index;
  if (!index.deserialise(textOf(bytes))) return;
  for (const std::string_view key : {"a", "BA:FL", "", "中"}) index.get(key);
  checkWritesBack(index, "a hash index form read does not write back the same");
}

void textPoolForm(std::span<const std::uint8_t> bytes) {
  TextPool pool;
  if (!pool.deserialise(textOf(bytes))) return;
  check(pool.count() >= 1, "a text pool was read with no texts");
  for (std::int32_t number = -1; number <= std::min(pool.count() + 1, kTextsLookedAt); ++number) {
    pool.getText(number);
  }
  checkWritesBack(pool, "a text pool form read does not write back the same");
}

}  // namespace qiru::fuzz
