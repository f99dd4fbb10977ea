// qiru-steno import [--bank DIR] FILE...: materials into the bank's user
// folder, by the rules of the window's import button.

#include <ostream>

#include "materials/material_import.h"
#include "materials/question_bank.h"
#include "materials/utf8_path.h"
#include "tools/qiru_steno/bank_arguments.h"
#include "tools/qiru_steno/command.h"

namespace qiru::cli {
namespace {

// One line on what became of one file; false when it is not in the bank.
bool report(const QuestionBank& bank, const std::string& file, const ImportOutcome& outcome, std::ostream& out) {
  const auto listedAs = [&] {
    const BankMaterial& material = bank.materials()[static_cast<std::size_t>(outcome.itemValue - 1)];
    return material.displayName + " (" + utf8Of(material.path) + ")";
  };
  switch (outcome.kind) {
    case ImportOutcome::Kind::Added:
      out << file << ": imported as " << listedAs() << '\n';
      return true;
    case ImportOutcome::Kind::Selected:
      out << file << ": already in the bank as " << listedAs() << '\n';
      return true;
    case ImportOutcome::Kind::Refused:
      out << file << ": not imported: " << outcome.refusal;
      if (outcome.refusal == kImportFailed) {
        out << " (check that it is a file you may read, and that the bank's folder has room and may be written)";
      }
      out << '\n';
      return false;
    case ImportOutcome::Kind::NothingChosen:
      break;
  }
  out << file << ": not imported: name a file, not a folder\n";
  return false;
}

int runImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const BankArguments parsed = parseBankArguments(args);
  if (!parsed.error.empty() || parsed.rest.empty()) {
    err << "qiru-steno import: " << (parsed.error.empty() ? "name at least one material file" : parsed.error)
        << " (see \"qiru-steno import --help\")\n";
    return kUsageError;
  }
  QuestionBank bank(parsed.bank);
  bank.scanQuestionBank();
  bool allInBank = true;
  for (const std::string& file : parsed.rest) {
    allInBank = report(bank, file, importMaterial(bank, pathFromUtf8(file), nullptr), out) && allInBank;
  }
  return allInBank ? 0 : 1;
}

}  // namespace

extern const Command kImportCommand{
    "import",
    "import [--bank DIR] FILE...",
    "Imports each material FILE into the question bank's folder 6.用户赛题, as\n"
    "the window's import button does: a file of the same name already there is\n"
    "never replaced (the same content counts as imported, other content is\n"
    "refused), and a copy that fails leaves nothing behind. One line per FILE\n"
    "says what became of it. Without --bank, the bank qiru-pk uses when\n"
    "installed beside qiru-steno.\n"
    "Exit status 1 when a FILE is not in the bank afterwards, 2 when the\n"
    "arguments are wrong.",
    runImport,
};

}  // namespace qiru::cli
