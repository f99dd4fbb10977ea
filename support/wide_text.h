#pragma once
// Windows only: the system's UTF-16 texts (file names, the command line,
// process names) as the UTF-8 the rest of the program uses.

#include <string>
#include <string_view>

namespace qiru {

std::string utf8OfWide(std::wstring_view wide);

}  // namespace qiru
