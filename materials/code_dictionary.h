#pragma once
// Chord code -> text for the material of the current match: every legal line
// of a material file maps its normalised code ("OGB:NGBDI|...") to its text,
// and the answer check asks which text a struck chord stands for. Keys are
// exact byte strings: no case folding, no trimming.

#include <cstdint>
#include <string>
#include <string_view>

#include "materials/value_pool.h"
#include "support/hash_index.h"

namespace qiru {

// Results of CodeDictionary::AddText.
enum AddTextResult : std::int32_t {
  AddTextAdded = 0,
  AddTextKeyPresent = -1,  // the first value stored under a key stays
  AddTextEmpty = -2,       // an empty key or value is never stored
  AddTextNotStored = -3,   // no memory could be had, or the index cannot hold the key
};

class CodeDictionary {
 public:
  // Empties the store (when it holds anything) and sizes the index for
  // `capacity` keys; the index grows by itself beyond that.
  void Reset(std::int32_t capacity);
  // Empties the index and the value pool.
  void Clear();
  // Stores `value` under `key` unless the key is already present.
  std::int32_t AddText(std::string_view key, std::string_view value);
  // The text stored under `key`; "" when the key is absent. Never changes
  // the store, so the reader threads may call it together.
  std::string LookupText(std::string_view key) const;

  std::int32_t count() const { return values.count(); }

 private:
  HashIndex index;   // key -> value number
  ValuePool values;  // value number -> value bytes
};

}  // namespace qiru
