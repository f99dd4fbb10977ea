#include "history/history_problem.h"

#include "materials/utf8_path.h"

namespace qiru {
namespace {

constexpr std::string_view kNoHistoryThisTime = "比赛照常进行，但成绩不会保存。";

}  // namespace

std::string historyProblemText(HistoryProblem problem, const std::filesystem::path& path, const std::string& detail) {
  const std::string file = "\r\n" + utf8Of(path) + "\r\n";
  const std::string goesOn(kNoHistoryThisTime);
  switch (problem) {
    case HistoryProblem::None:
      return {};
    case HistoryProblem::CannotCreate:
      return "无法创建比赛历史文件：" + file + goesOn + "请检查所在文件夹能否写入，或用 --history 指定另一个文件。";
    case HistoryProblem::CannotOpen:
      return "无法打开比赛历史文件：" + file + goesOn + "请检查该文件的读写权限，或用 --history 指定另一个文件。";
    case HistoryProblem::Damaged:
      return "比赛历史文件已损坏，程序没有改动它：" + file + goesOn +
             "请把该文件移走或改名（下次会新建一个），或用 --history 指定另一个文件。";
    case HistoryProblem::ReadOnly:
      return "比赛历史文件只能读取，不能写入：" + file + goesOn + "请检查该文件及其文件夹的写入权限。";
    case HistoryProblem::Newer:
      return "比赛历史文件由更新版本的程序写成，本程序不会改动它：" + file + goesOn +
             "请使用新版本的程序，或用 --history 指定另一个文件。";
    case HistoryProblem::NotHistory:
      return "该文件不是本程序的比赛历史，程序没有改动它：" + file + goesOn + "请用 --history 指定另一个文件。";
    case HistoryProblem::WriteFailed:
      return "保存本局成绩时出错（" + detail + "）：" + file + "比赛照常进行，之后的成绩不再保存。";
    case HistoryProblem::Missing:
      return "还没有比赛历史：" + file + "比赛结束后会自动保存成绩。";
  }
  return {};
}

}  // namespace qiru
