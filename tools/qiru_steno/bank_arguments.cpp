#include "tools/qiru_steno/bank_arguments.h"

#include "app/bank_location.h"
#include "materials/utf8_path.h"

namespace qiru::cli {
namespace {

constexpr std::string_view kBankOption = "--bank";

// The folder of the running program, as qiru-pk finds its own.
std::filesystem::path programFolder() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path(error) : self.parent_path();
}

}  // namespace

BankArguments parseBankArguments(const std::vector<std::string>& args) {
  BankArguments parsed;
  std::optional<std::filesystem::path> bank;
  std::size_t i = 0;
  for (; i < args.size() && args[i].starts_with("--"); ++i) {
    if (args[i] == "--") {
      ++i;
      break;
    }
    if (args[i] != kBankOption) {
      parsed.error = "unknown option \"" + args[i] + "\"";
      return parsed;
    }
    if (bank) {
      parsed.error = "--bank is given twice";
      return parsed;
    }
    if (i + 1 == args.size()) {
      parsed.error = "--bank needs a folder";
      return parsed;
    }
    bank = pathFromUtf8(args[++i]);
  }
  parsed.rest.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
  app::BankPlaces places = app::installedBankPlaces(programFolder());
  places.override = bank;
  parsed.bank = app::chooseBankFolder(places);
  if (!bank) app::prepareBankFolder(places, parsed.bank);
  return parsed;
}

}  // namespace qiru::cli
