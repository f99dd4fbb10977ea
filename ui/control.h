#pragma once
// The controls of the main window, by their own names, in creation order.
// The names are the ones the whole program uses (the Qt object names too);
// the prefix tells the kind: 标签_ label, 编辑框_ edit box, 外形框_ shape box,
// 选择夹_ tab control, 组合框_ combo box, 超级编辑框_ rich edit box,
// 选择框_ check box, 按钮_ button.

#include <cstddef>

namespace qiru::ui {

enum class Control : unsigned char {
  QiruPK,  // the main window
  标签_局成绩,
  标签_蓝方成绩,
  标签_红方成绩,
  标签14,
  标签13,
  标签_结果,
  外形框_结果,
  按钮2,
  外形框_测试,
  按钮1,
  通用对话框1,
  时钟1,
  超级编辑框_题目2,
  超级编辑框_题目1,
  标签_辅助信息2,
  标签_辅助信息1,
  外形框_闪灭,
  编辑框_闪灭,
  标签12,
  标签_时间,
  标签9,
  编辑框_团队条数,
  标签10,
  标签7,
  编辑框_团队人数,
  标签8,
  标签5,
  编辑框_抢答,
  标签6,
  标签3,
  编辑框_争先,
  标签4,
  标签2,
  编辑框_限时,
  标签1,
  按钮_选择,
  组合框_素材,
  选择夹_模式,
  选择夹_素材,
  外形框_选项,
  编辑框_二号机按键,
  编辑框_一号机按键,
  标签_一号机成绩,
  标签_二号机成绩,
  标签_二号机在线,
  标签_一号机在线,
  状态条1,
  外形框_题目,
  选择框_闪灭,
  标签15,
  // The result panel's lines for people who have not played before: that
  // the round was stopped, and how to go on.
  标签_中止,
  标签_继续提示,
};

inline constexpr std::size_t kControlCount = static_cast<std::size_t>(Control::标签_继续提示) + 1;

constexpr std::size_t indexOf(Control control) { return static_cast<std::size_t>(control); }

}  // namespace qiru::ui
