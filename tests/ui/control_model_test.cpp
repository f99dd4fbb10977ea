#include "ui/control_model.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/ui/geometry_printing.h"

namespace qiru::ui {
namespace {

struct Heard {
  Control control;
  Property property;
  std::string text;
  Rect geometry;
};

// A listener that keeps what it hears, as a renderer's queue would.
struct Recorder {
  std::vector<Heard> heard;
  void attach(ControlModel& model) {
    model.setChangeListener([this](const ControlChange& change) {
      heard.push_back({change.control, change.property, change.state.text, change.state.geometry});
    });
  }
};

TEST(ControlModel, PassesEachRealChangeOnOnce) {
  ControlModel model;
  Recorder recorder;
  recorder.attach(model);

  model.setText(Control::标签_结果, "本局红方获胜！");
  model.setText(Control::标签_结果, "本局红方获胜！");  // no change
  model.setWidth(Control::外形框_题目, 500);
  model.setHeight(Control::编辑框_一号机按键, -13);    // a size is never negative
  model.appendText(Control::编辑框_一号机按键, "红方按键记录：\r\n");
  model.setStatusPaneText(Control::状态条1, 2, "no such pane");

  ASSERT_EQ(recorder.heard.size(), 4u);
  EXPECT_EQ(recorder.heard[0].property, Property::Text);
  EXPECT_EQ(recorder.heard[0].text, "本局红方获胜！");
  EXPECT_EQ(recorder.heard[1].property, Property::Geometry);
  EXPECT_EQ(recorder.heard[1].geometry, (Rect{14, 88, 500, 186}));
  EXPECT_EQ(recorder.heard[2].geometry.height, 0);
  EXPECT_EQ(recorder.heard[3].text, "红方按键记录：\r\n");
}

// A marked line is the line the appended text ends on: counted across
// appends that split a CR LF, and afresh after a new text.
TEST(ControlModel, MarksTheLastLineOfWhatWasAppended) {
  struct Case {
    const char* what;
    std::string before;
    std::vector<std::string> appended;  // the last one marked
    int line;
  };
  const Case cases[] = {
      {"first line", "", {"1 A:"}, 0},
      {"after a heading", "红方按键记录：\r\n", {"1 A:\r\n", "2 B:"}, 2},
      {"a break split across appends", "", {"1 A:\r", "\n2 B:"}, 1},
      {"a lone CR or LF is no break", "", {"1 A:\r", "x\n", "2 B:"}, 0},
  };
  for (const Case& c : cases) {
    ControlModel model;
    const Control box = Control::编辑框_一号机按键;
    model.appendText(box, "old\r\nold\r\nold\r\n");
    model.setText(box, c.before);
    for (std::size_t i = 0; i < c.appended.size(); ++i) model.appendText(box, c.appended[i], i + 1 == c.appended.size());
    EXPECT_EQ(model.get(box, &ControlState::markedLines), std::vector<int>{c.line}) << c.what;
  }
}

// Threads write at once: each its own control, and all of them one shared
// control. Every change reaches the listener, each thread's in its order,
// and the listener's last word on the shared control is what the model holds.
TEST(ControlModel, WritesFromManyThreadsArriveCompleteAndInOrder) {
  const Control own[] = {Control::标签_辅助信息1, Control::标签_辅助信息2, Control::标签_一号机在线,
                         Control::标签_二号机在线};
  constexpr int kWrites = 400;
  ControlModel model;
  Recorder recorder;
  recorder.attach(model);
  {
    std::vector<std::jthread> writers;
    for (int t = 0; t < 4; ++t) {
      writers.emplace_back([&model, control = own[t], t] {
        for (int i = 0; i < kWrites; ++i) {
          model.setText(control, std::to_string(i));
          model.setText(Control::标签_时间, std::to_string(t) + ":" + std::to_string(i));
        }
      });
    }
  }
  ASSERT_EQ(recorder.heard.size(), 4u * 2 * kWrites);
  for (const Control control : own) {
    int next = 0;
    for (const Heard& heard : recorder.heard) {
      if (heard.control == control) {
        EXPECT_EQ(heard.text, std::to_string(next++));
      }
    }
    EXPECT_EQ(next, kWrites);
  }
  std::string lastShared;
  for (const Heard& heard : recorder.heard) {
    if (heard.control == Control::标签_时间) lastShared = heard.text;
  }
  EXPECT_EQ(lastShared, model.text(Control::标签_时间));
}

TEST(ControlModel, DeliversEventsToTheirHandlersWhichMayWriteTheModel) {
  ControlModel model;
  std::vector<int> arguments;
  model.setHandler(Control::编辑框_限时, EventKind::MouseWheel, [&](const ControlEvent& event) {
    arguments.push_back(event.argument);
    model.setText(event.control, "7");  // no deadlock: handlers run outside the lock
  });
  model.deliver(Control::编辑框_限时, EventKind::MouseWheel, -2);
  model.deliver(Control::编辑框_限时, EventKind::SpinButton, 1);  // nobody listens
  EXPECT_EQ(arguments, std::vector<int>{-2});
  EXPECT_EQ(model.text(Control::编辑框_限时), "7");
}

TEST(ControlModel, WindowKeepsItsMinimumAndItsStatusBarDocked) {
  ControlModel model;
  int resizes = 0;
  model.setHandler(Control::QiruPK, EventKind::SizeChanged, [&](const ControlEvent&) { ++resizes; });
  model.setMinimumSize(Control::QiruPK, {720, 500});

  model.resizeWindow({600, 900});
  EXPECT_EQ(model.geometry(Control::QiruPK), (Rect{50, 50, 720, 900}));
  EXPECT_EQ(model.geometry(Control::状态条1), (Rect{0, 900 - 29 - 20, 720 - 6, 20}));
  model.resizeWindow({1024, 300});
  EXPECT_EQ(model.geometry(Control::QiruPK), (Rect{50, 50, 1024, 500}));
  EXPECT_EQ(resizes, 2);
}

}  // namespace
}  // namespace qiru::ui
