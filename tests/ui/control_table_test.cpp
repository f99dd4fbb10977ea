#include "ui/control_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "ui/control_model.h"

namespace qiru::ui {
namespace {

// The kind that each name prefix promises.
ControlKind kindOfPrefix(std::string_view name) {
  struct Prefix {
    std::string_view prefix;
    ControlKind kind;
  };
  // Longest first: 超级编辑框_ contains 编辑框_.
  const Prefix prefixes[] = {
      {"超级编辑框_", ControlKind::RichEditBox}, {"编辑框_", ControlKind::EditBox},
      {"外形框_", ControlKind::ShapeBox},        {"选择夹_", ControlKind::TabControl},
      {"组合框_", ControlKind::ComboBox},        {"选择框_", ControlKind::CheckBox},
      {"按钮", ControlKind::Button},             {"标签", ControlKind::Label},
      {"时钟", ControlKind::Timer},              {"状态条", ControlKind::StatusBar},
      {"通用对话框", ControlKind::CommonDialog}, {"QiruPK", ControlKind::Window},
  };
  for (const Prefix& p : prefixes) {
    if (name.starts_with(p.prefix)) return p.kind;
  }
  ADD_FAILURE() << "no known prefix: " << name;
  return ControlKind::Window;
}

bool isContainer(ControlKind kind) {
  return kind == ControlKind::Window || kind == ControlKind::ShapeBox || kind == ControlKind::TabControl;
}

TEST(ControlTable, RowsAreConsistent) {
  std::set<std::string_view> names;
  for (std::size_t index = 0; index < controlTable().size(); ++index) {
    const ControlSpec& spec = controlTable()[index];
    SCOPED_TRACE(std::string(spec.name));
    EXPECT_EQ(indexOf(spec.control), index) << "rows follow the order of Control";
    EXPECT_TRUE(names.insert(spec.name).second) << "name used twice";
    EXPECT_EQ(findControl(spec.name), spec.control);
    EXPECT_EQ(spec.kind, kindOfPrefix(spec.name));
    if (spec.control == Control::QiruPK) continue;
    ASSERT_TRUE(spec.parent.has_value());
    const ControlSpec& parent = specOf(*spec.parent);
    EXPECT_TRUE(isContainer(parent.kind)) << "parent " << parent.name;
    if (parent.kind == ControlKind::TabControl) {
      EXPECT_NE(std::find(parent.pages.begin(), parent.pages.end(), spec.page), parent.pages.end())
          << "page \"" << spec.page << "\" of " << parent.name;
    } else {
      EXPECT_TRUE(spec.page.empty());
    }
  }
  EXPECT_EQ(controlTable().size(), kControlCount);
  EXPECT_FALSE(findControl("标签_不存在").has_value());
}

TEST(ControlTable, WhatTheUserSeesFollowsBoxesAndTabPages) {
  ControlModel model;
  EXPECT_TRUE(model.isVisible(Control::编辑框_限时)) << "the first mode page is current";
  EXPECT_FALSE(model.isVisible(Control::编辑框_争先));
  model.setCurrentPage(Control::选择夹_模式, 1);
  EXPECT_FALSE(model.isVisible(Control::编辑框_限时));
  EXPECT_TRUE(model.isVisible(Control::编辑框_争先));

  EXPECT_TRUE(model.shown(Control::标签_结果));
  EXPECT_FALSE(model.isVisible(Control::标签_结果)) << "the result panel starts hidden";
  model.setShown(Control::外形框_结果, true);
  EXPECT_TRUE(model.isVisible(Control::标签_结果));
  EXPECT_TRUE(model.isVisible(Control::编辑框_闪灭)) << "inside a box on the only material page";
}

}  // namespace
}  // namespace qiru::ui
