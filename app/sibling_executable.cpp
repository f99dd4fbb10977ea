// The sibling's name, on every platform.
#include <algorithm>
#include <cctype>

#include "app/process_guard.h"

namespace qiru::app {
namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view fileNameOf(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool isSiblingExecutable(std::string_view path) {
  const std::string_view name = fileNameOf(path);
  return equalsIgnoringCase(name, kSiblingExecutable) || equalsIgnoringCase(name, kSiblingExecutableLinux);
}

}  // namespace qiru::app
