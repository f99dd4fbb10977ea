#pragma once
// The question bank that qiru-steno's bank commands work on: --bank DIR, or
// else the bank qiru-pk uses when it is installed beside qiru-steno (the
// portable folder beside the program, or the user's data folder).

#include <filesystem>
#include <string>
#include <vector>

namespace qiru::cli {

struct BankArguments {
  std::filesystem::path bank;
  std::vector<std::string> rest;  // the arguments after the options
  std::string error;              // empty when the command line is good
};

BankArguments parseBankArguments(const std::vector<std::string>& args);

}  // namespace qiru::cli
