#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>

#include "tools/qiru_steno/program_arguments.h"

namespace qiru::cli {
namespace {

std::string utf8Of(const wchar_t* wide) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) return {};
  std::string text(static_cast<std::size_t>(length - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
  return text;
}

}  // namespace

std::vector<std::string> programArguments(int argc, char** argv) {
  // The program writes UTF-8; a console shows it as such only when told.
  SetConsoleOutputCP(CP_UTF8);
  // argv holds the arguments in the ANSI code page, which cannot hold
  // every file name: the UTF-16 command line can.
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return {argv + 1, argv + argc};
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(utf8Of(wide[i]));
  LocalFree(wide);
  return arguments;
}

}  // namespace qiru::cli
