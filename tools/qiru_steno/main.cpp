// qiru-steno: command-line tools for maintainers and material authors.

#include <iostream>
#include <string>
#include <vector>

#include "tools/qiru_steno/command.h"
#include "tools/qiru_steno/program_arguments.h"

namespace qiru::cli {
extern const Command kDecodeCommand;
extern const Command kCheckCommand;
extern const Command kLayoutCommand;
extern const Command kReplayCommand;
extern const Command kRecordCommand;
extern const Command kSimulateCommand;
extern const Command kBankCommand;
extern const Command kImportCommand;
extern const Command kHistoryCommand;
}  // namespace qiru::cli

namespace {

using qiru::cli::Command;

const Command* const kCommands[] = {
    &qiru::cli::kDecodeCommand,
    &qiru::cli::kCheckCommand,
    &qiru::cli::kLayoutCommand,
    &qiru::cli::kReplayCommand,
    &qiru::cli::kRecordCommand,
    &qiru::cli::kSimulateCommand,
    &qiru::cli::kBankCommand,
    &qiru::cli::kImportCommand,
    &qiru::cli::kHistoryCommand,
};

void printHelp(std::ostream& out) {
  out << "qiru-steno: stenotype tools of qiru-pk\n\n"
         "usage: qiru-steno COMMAND [ARGUMENTS...]\n"
         "       qiru-steno --help\n\n"
         "commands:\n";
  for (const Command* command : kCommands) {
    out << "  " << command->synopsis << "\n";
    std::string_view help = command->help;
    while (!help.empty()) {
      const auto end = help.find('\n');
      out << "      " << help.substr(0, end) << "\n";
      if (end == std::string_view::npos) break;
      help.remove_prefix(end + 1);
    }
    out << "\n";
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args = qiru::cli::programArguments(argc, argv);
  if (args.empty()) {
    printHelp(std::cerr);
    return qiru::cli::kUsageError;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    printHelp(std::cout);
    return 0;
  }
  for (const Command* command : kCommands) {
    if (args[0] == command->name) {
      std::vector<std::string> rest(args.begin() + 1, args.end());
      if (!rest.empty() && (rest[0] == "--help" || rest[0] == "-h")) {
        std::cout << "usage: qiru-steno " << command->synopsis << "\n\n" << command->help << "\n";
        return 0;
      }
      return command->run(rest, std::cout, std::cerr);
    }
  }
  std::cerr << "qiru-steno: unknown command \"" << args[0]
            << "\"; run \"qiru-steno --help\" for the list of commands\n";
  return qiru::cli::kUsageError;
}
