#pragma once
// The fingering scheme and the syllable dictionary the program carries
// (generated into data/ and embedded at build time).

#include <string_view>

#include "support/messages.h"

namespace qiru {

// The scheme text as GBK bytes with CR LF lines.
std::string_view builtinFingeringSchemeText();
// The dictionary block: checksum, then the compressed components.
std::string_view builtinSyllableDictionaryBlock();

// Loads the built-in scheme into fresh tables and publishes them to the
// decoder once complete. Bad lines go to `messages` when given. Always true.
bool loadFingeringScheme(MessageService* messages);

}  // namespace qiru
