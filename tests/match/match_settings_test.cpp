#include "match/match_settings.h"

#include <gtest/gtest.h>

#include <limits>
#include <string_view>
#include <vector>

namespace qiru {
namespace {

using ui::Control;

class MatchSettingsRead : public ::testing::Test {
 protected:
  SettingsRead read(MatchMode mode, const MatchSettings& previous = {}) {
    model.setCurrentPage(Control::选择夹_模式, static_cast<int>(mode));
    return readMatchSettings(model, previous);
  }
  ui::ControlModel model;
};

TEST_F(MatchSettingsRead, EachModeReadsItsOwnBox) {
  model.setText(Control::编辑框_限时, "30");
  model.setText(Control::编辑框_争先, "60");
  model.setText(Control::编辑框_抢答, "70");
  model.setText(Control::编辑框_团队条数, "12");
  model.setText(Control::编辑框_团队人数, "4");
  struct Case {
    MatchMode mode;
    std::int32_t timeLimitMs, entryLimit, teamSize, entriesToLoad;
  };
  for (const Case& c : std::vector<Case>{{MatchMode::TimedRace, 1'800'000, 0, 1, 9000},
                                         {MatchMode::RaceToFinish, 0, 60, 1, 60},
                                         {MatchMode::QuickAnswer, 0, 70, 1, 70},
                                         {MatchMode::TeamRelay, 0, 12, 4, 12}}) {
    const SettingsRead got = read(c.mode);
    EXPECT_EQ(got.settings.timeLimitMs, c.timeLimitMs);
    EXPECT_EQ(got.settings.entryLimit, c.entryLimit);
    EXPECT_EQ(got.settings.teamSize, c.teamSize);
    EXPECT_EQ(got.settings.memberNumber, 1);
    EXPECT_EQ(got.entriesToLoad, c.entriesToLoad);
    EXPECT_TRUE(got.newRelayOrMatch);
  }
}

// Values no spin button reaches, as a box may still hold them: a relay of
// fewer than one member plays one; products too large for 32 bits stay at
// the largest value instead of wrapping round.
TEST_F(MatchSettingsRead, ValuesBeyondTheSpinButtonsStaySound) {
  struct Case {
    MatchMode mode;
    Control box;
    std::string_view text;
    std::int32_t timeLimitMs, teamSize, entriesToLoad;
  };
  constexpr std::int32_t kMost = std::numeric_limits<std::int32_t>::max();
  model.setText(Control::编辑框_团队条数, "10");
  for (const Case& c : std::vector<Case>{{MatchMode::TeamRelay, Control::编辑框_团队人数, "0", 0, 1, 10},
                                         {MatchMode::TeamRelay, Control::编辑框_团队人数, "", 0, 1, 10},
                                         {MatchMode::TimedRace, Control::编辑框_限时, "35792", kMost, 1, 10'737'600},
                                         {MatchMode::TimedRace, Control::编辑框_限时, "7158279", kMost, 1, kMost},
                                         {MatchMode::TimedRace, Control::编辑框_限时, "99999999999", kMost, 1, kMost}}) {
    model.setText(c.box, std::string(c.text));
    const SettingsRead got = read(c.mode);
    EXPECT_EQ(got.settings.timeLimitMs, c.timeLimitMs) << c.text;
    EXPECT_EQ(got.settings.teamSize, c.teamSize) << c.text;
    EXPECT_EQ(got.entriesToLoad, c.entriesToLoad) << c.text;
  }
}

TEST_F(MatchSettingsRead, FlashTimeCountsOnlyWhenSwitchedOn) {
  model.setText(Control::编辑框_闪灭, "0.3");
  model.setChecked(Control::选择框_闪灭, false);
  EXPECT_EQ(read(MatchMode::QuickAnswer).settings.flashMs, 0);
  model.setChecked(Control::选择框_闪灭, true);
  EXPECT_EQ(read(MatchMode::QuickAnswer).settings.flashMs, 300);
}

TEST_F(MatchSettingsRead, ALaterRelayMemberKeepsTheRelaysValues) {
  const MatchSettings running{MatchMode::TeamRelay, 0, 12, 0, 4, 2};
  model.setText(Control::编辑框_团队人数, "9");
  model.setText(Control::编辑框_团队条数, "30");
  const SettingsRead next = read(MatchMode::TeamRelay, running);
  EXPECT_FALSE(next.newRelayOrMatch);
  EXPECT_EQ(next.settings.teamSize, 4);
  EXPECT_EQ(next.settings.memberNumber, 2);
  EXPECT_EQ(next.entriesToLoad, 12);

  // After the relay's end (team size 0), or after a match in another mode,
  // a relay start begins a new relay from the boxes.
  for (const MatchSettings& before : {MatchSettings{MatchMode::TeamRelay, 0, 12, 0, 0, 5},
                                      MatchSettings{MatchMode::QuickAnswer, 0, 50, 0, 1, 2}}) {
    const SettingsRead fresh = read(MatchMode::TeamRelay, before);
    EXPECT_TRUE(fresh.newRelayOrMatch);
    EXPECT_EQ(fresh.settings.teamSize, 9);
    EXPECT_EQ(fresh.settings.memberNumber, 1);
    EXPECT_EQ(fresh.entriesToLoad, 30);
  }
}

}  // namespace
}  // namespace qiru
