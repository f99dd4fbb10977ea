// Importing a material into the bank's user folder: a first import, the
// same file again, another file of the same name, and imports that fail.

#include <gtest/gtest.h>

#include <fstream>

#include "materials/material_import.h"
#include "materials/utf8_path.h"
#include "support/headless_messages.h"
#include "temp_folder.h"

namespace qiru {
namespace {

using Kind = ImportOutcome::Kind;

// A bank with one material, scanned, and a folder outside it to import from.
struct ImportScene {
  TempFolder root;
  std::filesystem::path bankFolder = root.path() / pathFromUtf8("比赛题库");
  QuestionBank bank{bankFolder};
  HeadlessMessages messages;

  ImportScene() {
    root.write("比赛题库/1.基础/单音节.txt", "listed");
    bank.scanQuestionBank();
  }
  std::filesystem::path chosen(std::string_view name, std::string_view content) const {
    return root.write(std::string("下载/") + std::string(name), content);
  }
  ImportOutcome importFile(const std::filesystem::path& file) { return importMaterial(bank, file, &messages); }
  std::vector<std::string> messageTexts() const {
    std::vector<std::string> texts;
    for (const auto& record : messages.records()) texts.push_back(record.request.caption + record.request.text);
    return texts;
  }
};

TEST(MaterialImport, FirstImportCreatesTheUserFolderCopiesAndLists) {
  ImportScene scene;
  const ImportOutcome outcome = scene.importFile(scene.chosen("Lesson1.txt", "第一课"));
  EXPECT_EQ(outcome.kind, Kind::Added);
  EXPECT_EQ(outcome.itemValue, 2);
  EXPECT_EQ(scene.bank.materials().back().displayName, "6.用户赛题-Lesson1");
  const auto target = scene.bankFolder / pathFromUtf8("6.用户赛题") / "Lesson1.txt";
  EXPECT_EQ(scene.bank.pathOf(2), target);
  EXPECT_EQ(readBytes(target), "第一课");
  EXPECT_TRUE(scene.messages.records().empty());

  // The next start lists it as the bank shows every file: in lower case.
  scene.bank.scanQuestionBank();
  EXPECT_EQ(scene.bank.materials()[scene.bank.itemValueOf(target) - 1].displayName, "6.用户赛题-lesson1");
}

TEST(MaterialImport, TheSameFileAgainSelectsItAndCopiesNothing) {
  ImportScene scene;
  const auto file = scene.chosen("Lesson1.txt", "第一课");
  ASSERT_EQ(scene.importFile(file).kind, Kind::Added);
  // Chosen again, from where it was and from inside the bank itself.
  for (const auto& again : {file, scene.bankFolder / pathFromUtf8("6.用户赛题") / "Lesson1.txt"}) {
    const ImportOutcome outcome = scene.importFile(again);
    EXPECT_EQ(outcome.kind, Kind::Selected) << again;
    EXPECT_EQ(outcome.itemValue, 2);
  }
  EXPECT_EQ(scene.bank.count(), 2);
  EXPECT_TRUE(scene.messages.records().empty());
}

TEST(MaterialImport, TheSameFilePutThereByHandIsListedOnImport) {
  ImportScene scene;
  scene.root.write("比赛题库/6.用户赛题/Lesson1.txt", "第一课");
  const ImportOutcome outcome = scene.importFile(scene.chosen("Lesson1.txt", "第一课"));
  EXPECT_EQ(outcome.kind, Kind::Added);
  EXPECT_EQ(scene.bank.pathOf(outcome.itemValue), scene.bankFolder / pathFromUtf8("6.用户赛题") / "Lesson1.txt");
}

TEST(MaterialImport, ANameTakenByOtherContentIsRefusedAndTheBankKeepsItsFile) {
  ImportScene scene;
  ASSERT_EQ(scene.importFile(scene.chosen("Lesson1.txt", "第一课")).kind, Kind::Added);
  TempFolder elsewhere;
  const ImportOutcome outcome = scene.importFile(elsewhere.write("Lesson1.txt", "另一课"));
  EXPECT_EQ(outcome.kind, Kind::Refused);
  EXPECT_EQ(scene.messageTexts(), std::vector<std::string>{"错误：已存在同名但内容不同的比赛素材！"});
  EXPECT_EQ(readBytes(scene.bankFolder / pathFromUtf8("6.用户赛题") / "Lesson1.txt"), "第一课");
  EXPECT_EQ(scene.bank.count(), 2);
}

TEST(MaterialImport, ImportsThatCannotBeDone) {
  {
    ImportScene scene;
    EXPECT_EQ(scene.importFile({}).kind, Kind::NothingChosen);  // the dialog was cancelled
    EXPECT_TRUE(scene.messages.records().empty());
    EXPECT_FALSE(std::filesystem::exists(scene.bankFolder / pathFromUtf8("6.用户赛题")));
  }
  {
    ImportScene scene;
    EXPECT_EQ(scene.importFile(scene.root.path() / pathFromUtf8("下载") / pathFromUtf8("没有这个文件.txt")).kind, Kind::Refused);
    EXPECT_EQ(scene.messageTexts(), std::vector<std::string>{"错误：导入文件失败！"});
  }
  {
    ImportScene scene;  // a folder chosen instead of a file
    std::filesystem::create_directories(scene.root.path() / pathFromUtf8("下载") / pathFromUtf8("文件夹.txt"));
    EXPECT_EQ(scene.importFile(scene.root.path() / pathFromUtf8("下载") / pathFromUtf8("文件夹.txt")).kind, Kind::Refused);
    EXPECT_EQ(scene.messageTexts(), std::vector<std::string>{"错误：导入文件失败！"});
    EXPECT_EQ(scene.bank.count(), 1);
  }
}

// A disk that fills up part way through the copy: the user is told, nothing
// is left in the bank, and once there is room again the same file imports.
TEST(MaterialImport, ACopyThatFailsPartWayLeavesNothingBehind) {
  ImportScene scene;
  const auto file = scene.chosen("速录练习.txt", "第一课\r\n第二课\r\n");
  std::filesystem::path written;
  const MaterialCopier diskFull = [&](const std::filesystem::path&, const std::filesystem::path& to) {
    std::ofstream(to, std::ios::binary) << "第一";  // what fitted before the disk was full
    written = to;
    return false;
  };
  const ImportOutcome outcome = importMaterial(scene.bank, file, &scene.messages, diskFull);
  EXPECT_EQ(outcome.kind, Kind::Refused);
  EXPECT_EQ(outcome.refusal, kImportFailed);
  EXPECT_EQ(scene.messageTexts(), std::vector<std::string>{"错误：导入文件失败！"});
  EXPECT_EQ(written.parent_path(), scene.bankFolder / pathFromUtf8("6.用户赛题")) << "the copy goes beside its target";
  EXPECT_NE(written.filename(), file.filename()) << "and under another name until it is whole";
  EXPECT_TRUE(std::filesystem::is_empty(scene.bankFolder / pathFromUtf8("6.用户赛题")));
  EXPECT_EQ(scene.bank.count(), 1);
  scene.bank.scanQuestionBank();
  EXPECT_EQ(scene.bank.count(), 1) << "the next start lists no partial file";

  const ImportOutcome again = scene.importFile(file);
  EXPECT_EQ(again.kind, Kind::Added);
  EXPECT_EQ(readBytes(scene.bankFolder / pathFromUtf8("6.用户赛题/速录练习.txt")), "第一课\r\n第二课\r\n");
}

}  // namespace
}  // namespace qiru
