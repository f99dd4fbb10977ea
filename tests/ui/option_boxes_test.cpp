#include "ui/option_boxes.h"

#include <gtest/gtest.h>

#include <climits>

namespace qiru::ui {
namespace {

using C = Control;

struct StepCase {
  Control box;
  const char* before;
  int direction;
  const char* after;
};

// Each case starts from a fresh window with the box holding `before`.
void expectSteps(std::initializer_list<StepCase> cases, void (*step)(ControlModel&, Control, int)) {
  for (const StepCase& c : cases) {
    ControlModel model;
    model.setText(c.box, c.before);
    step(model, c.box, c.direction);
    EXPECT_EQ(model.text(c.box), c.after)
        << controlName(c.box) << " \"" << c.before << "\" stepped by " << c.direction;
  }
}

TEST(AdjustSetting, WrapsAroundAtTheLimits) {
  expectSteps({
      {C::编辑框_限时, "30", +1, "1"},       {C::编辑框_限时, "1", -1, "30"},
      {C::编辑框_限时, "0", -1, "30"},       {C::编辑框_限时, "", +1, "1"},
      {C::编辑框_限时, "29", +3, "1"},       {C::编辑框_限时, "99", +1, "1"},
      {C::编辑框_争先, "200", +1, "20"},     {C::编辑框_争先, "20", -1, "200"},
      {C::编辑框_抢答, "50", +2, "52"},      {C::编辑框_团队人数, "2", -1, "10"},
      {C::编辑框_团队人数, "10", +1, "2"},   {C::编辑框_团队条数, "50", +1, "10"},
      {C::编辑框_团队条数, "10", -1, "50"},
      // The flash time steps in tenths, rounded down first.
      {C::编辑框_闪灭, "5", +1, "0.3"},      {C::编辑框_闪灭, "5.0", +1, "0.3"},
      {C::编辑框_闪灭, "0.3", -1, "5"},      {C::编辑框_闪灭, "1", +1, "1.1"},
      {C::编辑框_闪灭, "0.9", +1, "1"},      {C::编辑框_闪灭, "1.25", +1, "1.3"},
      {C::编辑框_闪灭, "2.0", -1, "1.9"},    {C::编辑框_闪灭, "4.9", +1, "5"},
      {C::编辑框_闪灭, "0.4", -1, "0.3"},
  }, adjustSetting);
}

TEST(SpinSetting, StopsAtTheLimits) {
  expectSteps({
      {C::编辑框_限时, "30", +1, "30"}, {C::编辑框_限时, "1", -1, "1"},
      {C::编辑框_限时, "15", +1, "16"}, {C::编辑框_限时, "99", -1, "30"},
      {C::编辑框_争先, "20", -1, "20"}, {C::编辑框_团队条数, "50", +1, "50"},
  }, spinSetting);
}

// The wheel wraps in every box; the spin buttons stop at the limits, except
// in the flash-time box, whose spin wraps like the wheel.
TEST(OptionStepping, WheelAndSpinEventsReachTheRightStepping) {
  ControlModel model;
  installOptionStepping(model);
  model.setText(C::编辑框_限时, "30");
  model.deliver(C::编辑框_限时, EventKind::SpinButton, +1);
  EXPECT_EQ(model.text(C::编辑框_限时), "30");
  model.deliver(C::编辑框_限时, EventKind::MouseWheel, +1);
  EXPECT_EQ(model.text(C::编辑框_限时), "1");

  model.setText(C::编辑框_闪灭, "5");
  model.deliver(C::编辑框_闪灭, EventKind::SpinButton, +1);
  EXPECT_EQ(model.text(C::编辑框_闪灭), "0.3");
  model.deliver(C::编辑框_闪灭, EventKind::MouseWheel, -1);
  EXPECT_EQ(model.text(C::编辑框_闪灭), "5");
}

TEST(OptionBoxes, TakeOnlyTheirKindOfNumber) {
  struct Case {
    Control box;
    const char* text;
    bool taken;
  };
  const Case cases[] = {
      {C::编辑框_争先, "120", true},  {C::编辑框_争先, "", true},     {C::编辑框_争先, "1.5", false},
      {C::编辑框_争先, "-3", false},  {C::编辑框_争先, "12a", false}, {C::编辑框_闪灭, "0.5", true},
      {C::编辑框_闪灭, ".5", true},   {C::编辑框_闪灭, "1.2.3", false},
      // Never beyond the upper limit; below the lower one is a start.
      {C::编辑框_争先, "200", true},  {C::编辑框_争先, "201", false},  {C::编辑框_争先, "2", true},
      {C::编辑框_限时, "99999999999999999999", false},               {C::编辑框_闪灭, "5.0", true},
      {C::编辑框_闪灭, "5.1", false},
      {C::编辑框_一号机按键, "any text at all", true},
  };
  for (const Case& c : cases) {
    ControlModel model;
    const std::string before = model.text(c.box);
    EXPECT_EQ(enterText(model, c.box, c.text), c.taken) << c.text;
    EXPECT_EQ(model.text(c.box), c.taken ? c.text : before) << c.text;
  }
}

TEST(OptionBoxes, ReadTheLeadingNumberOfTheirText) {
  EXPECT_EQ(integerValue("12abc"), 12);
  EXPECT_EQ(integerValue(""), 0);
  EXPECT_EQ(integerValue("-7"), -7);
  EXPECT_EQ(integerValue("99999999999"), INT_MAX);
  EXPECT_DOUBLE_EQ(decimalValue("0.3"), 0.3);
  EXPECT_DOUBLE_EQ(decimalValue("2.5s"), 2.5);
  EXPECT_DOUBLE_EQ(decimalValue("abc"), 0.0);
}

}  // namespace
}  // namespace qiru::ui
