#pragma once
// Dates and times as text, by the date and time pictures users know from
// the system's own settings ("yyyy-MM-dd HH:mm:ss", "yyyy年M月d日"), with the
// names of a Chinese system (星期五, 下午).

#include <cstdint>
#include <string>
#include <string_view>

#include "support/clock.h"

namespace qiru {

inline constexpr std::string_view kDefaultDateTimePattern = "yyyy-MM-dd HH:mm:ss";

// A calendar date and time of day, without a time zone.
struct CivilTime {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;   // 0..23
  int minute = 0;
  int second = 0;
  friend bool operator==(const CivilTime&, const CivilTime&) = default;
};

// The calendar reading of a count of seconds since 1970-01-01 00:00:00.
CivilTime civilTimeFromUnixSeconds(std::int64_t seconds);

// The local time at a moment given in ms since 1970-01-01 00:00 UTC.
CivilTime localTimeAt(std::int64_t unixMs);

// Fills the pattern's pictures, date and time alike:
//   d dd ddd dddd  day, two-digit day, 周五, 星期五
//   M MM MMM MMMM  month, two-digit month, 1月, 一月
//   y yy yyyy      year of the century, two-digit, full year
//   h hh H HH      hour on the 12- and 24-hour clock
//   m mm s ss      minute, second
//   t tt           上 / 上午 and 下 / 下午
//   'text'         copied as it stands ('' is a quote)
// Everything else is copied. An empty pattern is kDefaultDateTimePattern.
// stripLeadingZero turns every "年0" into "年" and "月0" into "月", so that
// "2024年03月05日" reads "2024年3月5日".
std::string formatDateTime(const CivilTime& time, std::string_view pattern = kDefaultDateTimePattern,
                           bool stripLeadingZero = false);

// The same for the local time now on the clock.
std::string formatDateTime(const Clock& clock, std::string_view pattern = kDefaultDateTimePattern,
                           bool stripLeadingZero = false);

}  // namespace qiru
