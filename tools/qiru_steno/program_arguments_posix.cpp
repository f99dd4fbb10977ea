#include "tools/qiru_steno/program_arguments.h"

namespace qiru::cli {

std::vector<std::string> programArguments(int argc, char** argv) { return {argv + 1, argv + argc}; }

}  // namespace qiru::cli
