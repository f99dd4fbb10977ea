#pragma once
// Splitting material text at its delimiters (CR LF, TAB, "|", ":"). Inside
// the program texts are UTF-8, where no byte of a multi-byte character is
// ASCII, so a delimiter found byte by byte is always a real one.

#include <string_view>
#include <vector>

namespace qiru {

// Every piece between separators, empty ones included: "a||b" gives
// "a", "", "b"; a text without a separator is one piece.
inline std::vector<std::string_view> splitAt(std::string_view text, std::string_view separator) {
  std::vector<std::string_view> pieces;
  while (true) {
    const auto end = text.find(separator);
    pieces.push_back(text.substr(0, end));
    if (end == std::string_view::npos) return pieces;
    text.remove_prefix(end + separator.size());
  }
}

}  // namespace qiru
