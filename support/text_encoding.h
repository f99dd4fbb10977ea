#pragma once
// GBK (code page 936) lives only at the edges of the program: material files,
// the built-in scheme bytes, file names where the platform uses GBK. Inside,
// every text is UTF-8. These two functions are the only crossing.

#include <string>
#include <string_view>

namespace qiru {

// Bytes that are not valid GBK become U+FFFD; conversion never fails.
std::string gbkToUtf8(std::string_view gbk);

// Characters that GBK cannot hold become "?"; invalid UTF-8 bytes too.
std::string utf8ToGbk(std::string_view utf8);

}  // namespace qiru
