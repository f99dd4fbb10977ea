#include "ui/control_table.h"

namespace qiru::ui {

namespace {

using C = Control;
using K = ControlKind;

constexpr std::string_view kGeneralPage = "通用项";
constexpr std::string_view kTimedRacePage = "双人计时赛";
constexpr std::string_view kRaceToFinishPage = "双人争先赛";
constexpr std::string_view kQuickAnswerPage = "双人抢答赛";
constexpr std::string_view kTeamRelayPage = "团队接力赛";

constexpr Colour kPanelGrey = 0xECECEC;   // the result panel's captions
constexpr Colour kScoreGreen = kScoreTileGreen;  // behind the side labels and scores
constexpr Colour kCaptionGreen = 0x406040;       // the panel's captions, on its grey
constexpr Colour kTimeGreen = 0x00FF00;
constexpr Colour kOrange = 0x0064C8;  // readable on the panel's grey (3.4:1)
constexpr Colour kStoppedRed = 0x0000C0;
constexpr Colour kHintGrey = 0x404040;
constexpr Colour kKeyLogGrey = 0x707070;  // 4.9:1 on white

const Look kPageCaption{kBlack, kTransparent, {}, Alignment::Left};
const Look kResultHeading{kOrange, kPanelGrey, {"", -29, true}, Alignment::Centre};
const Look kResultCaption{kCaptionGreen, kPanelGrey, {"", -19, true}, Alignment::Centre};
const Look kInfoLine{kWhite, kBlack, {"", -14, false}, Alignment::Left};
const Look kSideLabel{kQuietGrey, kScoreGreen, {"宋体", -29, true}, Alignment::Centre};
const Look kScore{kQuietGrey, kScoreGreen, {"Times New Roman", -80, true}, Alignment::Centre};
const Look kKeyLog{kKeyLogGrey, kWhite, {"宋体", -21, false}, Alignment::Left};
const EditStyle kKeyLogStyle{true, true, true};

std::vector<ControlSpec> buildTable() {
  return {
      {C::QiruPK, "QiruPK", K::Window, std::nullopt, "", {50, 50, 800, 700}, true, " Q锐基本功 - 双机PK"},
      {C::标签_局成绩, "标签_局成绩", K::Label, C::外形框_结果, "", {3, 263, 473, 34}, true, "本局双方战平！", {},
       {0xC06000, kPanelGrey, {"", -19, true}, Alignment::Centre}},
      {C::标签_蓝方成绩, "标签_蓝方成绩", K::Label, C::外形框_结果, "", {273, 104, 176, 152}, true, "蓝方", {},
       {kBlueSideColour, kScoreGreen, {"宋体", -35, true}, Alignment::Centre}},
      {C::标签_红方成绩, "标签_红方成绩", K::Label, C::外形框_结果, "", {32, 104, 176, 152}, true, "红方", {},
       {kRedSideColour, kScoreGreen, {"宋体", -29, true}, Alignment::Centre}},
      {C::标签14, "标签14", K::Label, C::外形框_结果, "", {273, 72, 176, 24}, true, "蓝方总成绩", {}, kResultCaption},
      {C::标签13, "标签13", K::Label, C::外形框_结果, "", {32, 72, 176, 24}, true, "红方总成绩", {}, kResultCaption},
      {C::标签_结果, "标签_结果", K::Label, C::外形框_结果, "", {3, 16, 473, 52}, true, "双方战平！", {}, kResultHeading},
      // Taller than the machines' panel by the two lines at its foot.
      {C::外形框_结果, "外形框_结果", K::ShapeBox, C::QiruPK, "", {128, 136, 480, 372}, false, ""},
      {C::按钮2, "按钮2", K::Button, C::外形框_测试, "", {8, 64, 80, 48}, true, "取题目"},
      {C::外形框_测试, "外形框_测试", K::ShapeBox, C::QiruPK, "", {600, 120, 120, 128}, false, ""},
      {C::按钮1, "按钮1", K::Button, C::外形框_测试, "", {8, 8, 80, 48}, true, "生成"},
      {C::通用对话框1, "通用对话框1", K::CommonDialog, C::选择夹_素材, kGeneralPage, {16, 36, 40, 32}, false, ""},
      {C::时钟1, "时钟1", K::Timer, C::外形框_题目, "", {306, 32, 32, 32}, false, ""},
      {C::超级编辑框_题目2, "超级编辑框_题目2", K::RichEditBox, C::外形框_题目, "", {8, 96, 112, 48}, true, ""},
      {C::超级编辑框_题目1, "超级编辑框_题目1", K::RichEditBox, C::外形框_题目, "", {8, 40, 112, 48}, true, ""},
      {C::标签_辅助信息2, "标签_辅助信息2", K::Label, C::外形框_题目, "", {368, 8, 168, 24}, true, "", {},
       {kWhite, kBlack, {"", -14, false}, Alignment::Right}},
      {C::标签_辅助信息1, "标签_辅助信息1", K::Label, C::外形框_题目, "", {8, 8, 168, 24}, true, "", {}, kInfoLine},
      {C::外形框_闪灭, "外形框_闪灭", K::ShapeBox, C::选择夹_素材, kGeneralPage, {240, 24, 141, 39}, true, ""},
      {C::编辑框_闪灭, "编辑框_闪灭", K::EditBox, C::外形框_闪灭, "", {59, 10, 35, 20}, true, "1"},
      {C::标签12, "标签12", K::Label, C::外形框_闪灭, "", {118, 8, 18, 24}, true, "秒", {}, kPageCaption},
      {C::标签_时间, "标签_时间", K::Label, C::外形框_题目, "", {202, 8, 160, 24}, true, "00:00:00", {},
       {kTimeGreen, kBlack, {"宋体", -19, true}, Alignment::Centre}},
      {C::标签9, "标签9", K::Label, C::选择夹_模式, kTeamRelayPage, {146, 29, 34, 24}, true, "每局：", {}, kPageCaption},
      {C::编辑框_团队条数, "编辑框_团队条数", K::EditBox, C::选择夹_模式, kTeamRelayPage, {186, 31, 35, 20}, true, "50"},
      {C::标签10, "标签10", K::Label, C::选择夹_模式, kTeamRelayPage, {245, 29, 23, 24}, true, "条", {}, kPageCaption},
      {C::标签7, "标签7", K::Label, C::选择夹_模式, kTeamRelayPage, {19, 29, 34, 24}, true, "每队：", {}, kPageCaption},
      {C::编辑框_团队人数, "编辑框_团队人数", K::EditBox, C::选择夹_模式, kTeamRelayPage, {59, 31, 35, 20}, true, "2"},
      {C::标签8, "标签8", K::Label, C::选择夹_模式, kTeamRelayPage, {118, 29, 34, 24}, true, "人", {}, kPageCaption},
      {C::标签5, "标签5", K::Label, C::选择夹_模式, kQuickAnswerPage, {19, 29, 34, 24}, true, "每局：", {}, kPageCaption},
      {C::编辑框_抢答, "编辑框_抢答", K::EditBox, C::选择夹_模式, kQuickAnswerPage, {59, 31, 35, 20}, true, "50"},
      {C::标签6, "标签6", K::Label, C::选择夹_模式, kQuickAnswerPage, {118, 29, 34, 24}, true, "条", {}, kPageCaption},
      {C::标签3, "标签3", K::Label, C::选择夹_模式, kRaceToFinishPage, {19, 29, 34, 24}, true, "每局：", {}, kPageCaption},
      {C::编辑框_争先, "编辑框_争先", K::EditBox, C::选择夹_模式, kRaceToFinishPage, {59, 31, 35, 20}, true, "50"},
      {C::标签4, "标签4", K::Label, C::选择夹_模式, kRaceToFinishPage, {118, 29, 34, 24}, true, "条", {}, kPageCaption},
      {C::标签2, "标签2", K::Label, C::选择夹_模式, kTimedRacePage, {118, 29, 34, 24}, true, "分钟", {}, kPageCaption},
      {C::编辑框_限时, "编辑框_限时", K::EditBox, C::选择夹_模式, kTimedRacePage, {59, 31, 35, 20}, true, "1"},
      {C::标签1, "标签1", K::Label, C::选择夹_模式, kTimedRacePage, {19, 29, 34, 24}, true, "每局：", {}, kPageCaption},
      {C::按钮_选择, "按钮_选择", K::Button, C::选择夹_素材, kGeneralPage, {176, 27, 61, 29}, true, "导入…"},
      {C::组合框_素材, "组合框_素材", K::ComboBox, C::选择夹_素材, kGeneralPage, {8, 32, 160, 20}, true, ""},
      {C::选择夹_模式, "选择夹_模式", K::TabControl, C::外形框_选项, "", {403, 4, 352, 67}, true, "",
       {kTimedRacePage, kRaceToFinishPage, kQuickAnswerPage, kTeamRelayPage}},
      {C::选择夹_素材, "选择夹_素材", K::TabControl, C::外形框_选项, "", {10, 4, 390, 67}, true, "", {kGeneralPage}},
      {C::外形框_选项, "外形框_选项", K::ShapeBox, C::QiruPK, "", {14, 8, 770, 76}, true, ""},
      {C::编辑框_二号机按键, "编辑框_二号机按键", K::EditBox, C::QiruPK, "", {400, 468, 368, 72}, true, "", {},
       kKeyLog, kKeyLogStyle},
      {C::编辑框_一号机按键, "编辑框_一号机按键", K::EditBox, C::QiruPK, "", {16, 468, 368, 72}, true, "", {},
       kKeyLog, kKeyLogStyle},
      {C::标签_一号机成绩, "标签_一号机成绩", K::Label, C::QiruPK, "", {16, 348, 371, 114}, true, "0", {}, kScore},
      {C::标签_二号机成绩, "标签_二号机成绩", K::Label, C::QiruPK, "", {398, 348, 371, 114}, true, "0", {}, kScore},
      {C::标签_二号机在线, "标签_二号机在线", K::Label, C::QiruPK, "", {398, 285, 371, 61}, true, "蓝方", {}, kSideLabel},
      {C::标签_一号机在线, "标签_一号机在线", K::Label, C::QiruPK, "", {16, 285, 371, 61}, true, "红方", {}, kSideLabel},
      {C::状态条1, "状态条1", K::StatusBar, C::QiruPK, "", {0, 551, 794, 20}, true, ""},
      {C::外形框_题目, "外形框_题目", K::ShapeBox, C::QiruPK, "", {14, 88, 770, 186}, true, ""},
      {C::选择框_闪灭, "选择框_闪灭", K::CheckBox, C::外形框_闪灭, "", {8, 8, 57, 24}, true, "闪灭："},
      {C::标签15, "标签15", K::Label, C::外形框_结果, "", {3, 152, 473, 56}, true, "VS", {}, kResultHeading},
      {C::标签_中止, "标签_中止", K::Label, C::外形框_结果, "", {3, 300, 473, 34}, false, "", {},
       {kStoppedRed, kPanelGrey, {"", -19, true}, Alignment::Centre}},
      {C::标签_继续提示, "标签_继续提示", K::Label, C::外形框_结果, "", {3, 336, 473, 30}, false, "", {},
       {kHintGrey, kPanelGrey, {"", -16, false}, Alignment::Centre}},
  };
}

}  // namespace

std::span<const ControlSpec> controlTable() {
  static const std::vector<ControlSpec> table = buildTable();
  return table;
}

const ControlSpec& specOf(Control control) { return controlTable()[indexOf(control)]; }

std::string_view controlName(Control control) { return specOf(control).name; }

std::optional<Control> findControl(std::string_view name) {
  for (const ControlSpec& spec : controlTable()) {
    if (spec.name == name) return spec.control;
  }
  return std::nullopt;
}

}  // namespace qiru::ui
