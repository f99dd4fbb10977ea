#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>

#include "support/wide_text.h"
#include "tools/qiru_steno/program_arguments.h"

namespace qiru::cli {

std::vector<std::string> programArguments(int argc, char** argv) {
  // The program writes UTF-8; a console shows it as such only when told.
  SetConsoleOutputCP(CP_UTF8);
  // argv holds the arguments in the ANSI code page, which cannot hold
  // every file name: the UTF-16 command line can.
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return {argv + 1, argv + argc};
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(qiru::utf8OfWide(wide[i]));
  LocalFree(wide);
  return arguments;
}

}  // namespace qiru::cli
