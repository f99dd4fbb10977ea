#include "steno/builtin_scheme.h"

#include <cstddef>
#include <memory>

#include "steno/fingering_scheme.h"

extern const unsigned char qiruFingeringSchemeText[];
extern const std::size_t qiruFingeringSchemeTextSize;
extern const unsigned char qiruSyllableDictionaryBlock[];
extern const std::size_t qiruSyllableDictionaryBlockSize;

namespace qiru {

std::string_view builtinFingeringSchemeText() {
  return {reinterpret_cast<const char*>(qiruFingeringSchemeText), qiruFingeringSchemeTextSize};
}

std::string_view builtinSyllableDictionaryBlock() {
  return {reinterpret_cast<const char*>(qiruSyllableDictionaryBlock), qiruSyllableDictionaryBlockSize};
}

bool loadFingeringScheme(MessageService* messages) {
  auto scheme = std::make_unique<FingeringScheme>();
  loadFingeringScheme(*scheme, builtinFingeringSchemeText(), builtinSyllableDictionaryBlock(), messages);
  publishScheme(std::move(scheme));
  return true;
}

}  // namespace qiru
