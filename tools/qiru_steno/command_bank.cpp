// qiru-steno bank [--bank DIR]: the question bank as the window's material
// box lists it.

#include <ostream>

#include "materials/question_bank.h"
#include "materials/utf8_path.h"
#include "tools/qiru_steno/bank_arguments.h"
#include "tools/qiru_steno/command.h"

namespace qiru::cli {
namespace {

int runBank(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const BankArguments parsed = parseBankArguments(args);
  if (!parsed.error.empty() || !parsed.rest.empty()) {
    err << "qiru-steno bank: " << (parsed.error.empty() ? "unexpected \"" + parsed.rest[0] + "\"" : parsed.error)
        << " (see \"qiru-steno bank --help\")\n";
    return kUsageError;
  }
  std::error_code error;
  if (!std::filesystem::is_directory(parsed.bank, error)) {
    err << "qiru-steno bank: the question bank \"" << utf8Of(parsed.bank)
        << "\" is no folder; name one with --bank DIR\n";
    return 1;
  }
  QuestionBank bank(parsed.bank);
  bank.scanQuestionBank();
  for (const BankMaterial& material : bank.materials()) out << material.displayName << '\t' << utf8Of(material.path) << '\n';
  return 0;
}

}  // namespace

extern const Command kBankCommand{
    "bank",
    "bank [--bank DIR]",
    "Lists the question bank as the window's material box lists it, in the\n"
    "same order: one material a line, its name in the box, a TAB and its file.\n"
    "Without --bank, the bank qiru-pk uses when installed beside qiru-steno.\n"
    "Exit status 1 when the bank is no folder, 2 when the arguments are wrong.",
    runBank,
};

}  // namespace qiru::cli
