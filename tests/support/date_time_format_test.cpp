#include "support/date_time_format.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "support/virtual_clock.h"

namespace qiru {
namespace {

TEST(FormatDateTime, FillsDateAndTimePictures) {
  const CivilTime tuesdayAfternoon{2024, 3, 5, 15, 7, 9};
  struct Case {
    const char* pattern;
    bool strip;
    const char* expected;
  };
  const Case cases[] = {
      {"", false, "2024-03-05 15:07:09"},
      {"yyyy-MM-dd HH:mm:ss", false, "2024-03-05 15:07:09"},
      {"yyyy年MM月dd日", false, "2024年03月05日"},
      {"yyyy年MM月dd日", true, "2024年3月5日"},
      {"yyyy年M月d日 dddd", false, "2024年3月5日 星期二"},
      {"yy/M/d h:mm tt", false, "24/3/5 3:07 下午"},
      {"MMM MMMM ddd t", false, "3月 三月 周二 下"},
      {"'HH' HH", false, "HH 15"},
      {"h 'o''clock' ''", false, "3 o'clock '"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(formatDateTime(tuesdayAfternoon, c.pattern, c.strip), c.expected) << c.pattern;
  }
  EXPECT_EQ(formatDateTime(CivilTime{2024, 10, 5, 0, 30, 0}, "yyyy年MM月dd日 h:mm tt", true),
            "2024年10月5日 12:30 上午")
      << "only a zero right after 年 or 月 goes";
}

TEST(CivilTime, CountsDaysAcrossLeapYearsAndBefore1970) {
  struct Case {
    std::int64_t seconds;
    CivilTime expected;
  };
  const Case cases[] = {
      {0, {1970, 1, 1, 0, 0, 0}},
      {86399, {1970, 1, 1, 23, 59, 59}},
      {951782400, {2000, 2, 29, 0, 0, 0}},
      {951868800, {2000, 3, 1, 0, 0, 0}},
      {-1, {1969, 12, 31, 23, 59, 59}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(civilTimeFromUnixSeconds(c.seconds), c.expected) << c.seconds;
  }
}

TEST(FormatDateTime, WithoutAValueShowsTheLocalTimeOnTheClock) {
#if defined(_WIN32)
  _putenv_s("TZ", "CST-8");  // China Standard Time, UTC+8
#else
  setenv("TZ", "CST-8", 1);  // China Standard Time, UTC+8
#endif
  tzset();
  const VirtualClock clock(951782400000 + 3723000);  // 2000-02-29 01:02:03 UTC
  EXPECT_EQ(formatDateTime(clock), "2000-02-29 09:02:03");
  EXPECT_EQ(formatDateTime(clock, "yyyy年MM月dd日", true), "2000年2月29日");
}

}  // namespace
}  // namespace qiru
