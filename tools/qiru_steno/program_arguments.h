#pragma once
// The command line as UTF-8 texts, and a console that shows UTF-8 output,
// behind one function per platform: Linux hands both over as they are;
// Windows passes the command line in UTF-16 and its console has a code page
// of its own.

#include <string>
#include <vector>

namespace qiru::cli {

// The arguments after the program's name.
std::vector<std::string> programArguments(int argc, char** argv);

}  // namespace qiru::cli
