#include "materials/code_dictionary.h"

namespace qiru {

void CodeDictionary::Reset(std::int32_t capacity) {
  if (values.count() > 0) Clear();
  index.reset(capacity);
}

void CodeDictionary::Clear() {
  index.release();
  values.clear();
}

std::int32_t CodeDictionary::AddText(std::string_view key, std::string_view value) {
  if (key.empty() || value.empty()) return AddTextEmpty;
  if (index.get(key) != kAbsentValue) return AddTextKeyPresent;
  const std::int32_t number = values.append(value);
  if (number == 0) return AddTextNotStored;
  if (index.put(key, number) != PutAdded) {
    // The index could not take the key: leave no orphan value behind.
    values.dropLast();
    return AddTextNotStored;
  }
  return AddTextAdded;
}

std::string CodeDictionary::LookupText(std::string_view key) const {
  const std::int32_t number = index.get(key);
  if (number == kAbsentValue) return {};
  return std::string(values.valueOf(number));
}

}  // namespace qiru
