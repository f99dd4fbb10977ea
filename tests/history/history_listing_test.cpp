// The history as CSV and as lines for a terminal.

#include "history/history_listing.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace qiru {
namespace {

HistoryRow sampleRow() {
  HistoryRow row;
  row.match = 3;
  row.round = 2;
  row.startedMs = 1'700'000'000'000;  // 2023-11-14 22:13:20 UTC
  row.mode = MatchMode::TeamRelay;
  row.material = "词语,\"常用\".txt";
  row.side = 2;
  row.machine = 10002;
  row.score = 4;
  row.chords = 10;
  row.wrongChords = 6;
  row.entries = 4;
  row.characters = 8;
  row.playingMs = 2750;
  row.charsPerMinute = 174.5454;
  row.accuracyPercent = 40.0;
  row.result = SideResult::Loss;
  return row;
}

class HistoryListing : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
  }
};

TEST_F(HistoryListing, CsvHasTheHeaderAndQuotesWhatNeedsIt) {
  EXPECT_EQ(historyCsv({sampleRow()}),
            "match,round,started,mode,material,side,machine,score,chords,wrong_chords,entries,characters,seconds,"
            "chars_per_minute,accuracy,result,stopped\r\n"
            "3,2,2023-11-14 22:13:20,team_relay,\"词语,\"\"常用\"\".txt\",blue,10002,4,10,6,4,8,2.8,174.5,40.0,loss,0\r\n");
}

TEST_F(HistoryListing, LinesNameTheMachineWhenItHasAName) {
  HistoryRow row = sampleRow();
  row.stopped = true;
  EXPECT_EQ(historyLine(row, {{10002, "张三"}}),
            "3.2  2023-11-14 22:13:20  团队接力赛  词语,\"常用\".txt  蓝方  10002 张三  得分 4  击 10  错击 6  条 4  "
            "字 8  2.8 秒  174.5 字/分  正确率 40.0%  负（中止）");
}

}  // namespace
}  // namespace qiru
