#pragma once
// One subcommand of qiru-steno. Each lives in its own command_*.cpp and is
// listed once in the table of main.cpp.

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace qiru::cli {

struct Command {
  std::string_view name;
  std::string_view synopsis;  // "decode CHORD..."
  std::string_view help;      // what it does, its arguments and its exit status
  int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

// Exit status for a command line that cannot be carried out as written.
inline constexpr int kUsageError = 2;

}  // namespace qiru::cli
