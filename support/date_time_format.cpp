#include "support/date_time_format.h"

#include <array>
#include <cstdio>
#include <ctime>

#include "support/local_time.h"

namespace qiru {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

constexpr std::array<std::string_view, 7> kWeekdayNames = {
    "星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
constexpr std::array<std::string_view, 7> kWeekdayShortNames = {
    "周日", "周一", "周二", "周三", "周四", "周五", "周六"};
constexpr std::array<std::string_view, 12> kMonthNames = {
    "一月", "二月", "三月", "四月", "五月", "六月", "七月", "八月", "九月", "十月", "十一月", "十二月"};

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar, and
// back (the well-known era arithmetic: 400-year eras of 146097 days).
std::int64_t daysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

void civilFromDays(std::int64_t days, CivilTime& time) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  time.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  time.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  time.year = static_cast<int>(yearOfEra + era * 400 + (time.month <= 2 ? 1 : 0));
}

int weekday(const CivilTime& time) {  // 0 = Sunday; 1970-01-01 was a Thursday
  const std::int64_t days = daysFromCivil(time.year, time.month, time.day);
  return static_cast<int>(((days % 7) + 7 + 4) % 7);
}

std::string number(int value, int minDigits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*d", minDigits, value);
  return text;
}

// The text of one picture: `count` repetitions of `letter`.
std::string picture(const CivilTime& time, char letter, std::size_t count) {
  const int digits = count >= 2 ? 2 : 1;
  switch (letter) {
    case 'd':
      if (count == 3) return std::string(kWeekdayShortNames[weekday(time)]);
      if (count >= 4) return std::string(kWeekdayNames[weekday(time)]);
      return number(time.day, digits);
    case 'M':
      if (count == 3) return std::to_string(time.month) + "月";
      if (count >= 4) return std::string(kMonthNames[time.month - 1]);
      return number(time.month, digits);
    case 'y':
      return count >= 3 ? number(time.year, 4) : number(time.year % 100, digits);
    case 'h': return number(time.hour % 12 == 0 ? 12 : time.hour % 12, digits);
    case 'H': return number(time.hour, digits);
    case 'm': return number(time.minute, digits);
    case 's': return number(time.second, digits);
    case 't': {
      const std::string_view marker = time.hour < 12 ? "上午" : "下午";
      return std::string(count >= 2 ? marker : marker.substr(0, 3));  // one character
    }
  }
  return std::string(count, letter);
}

bool isPicture(char letter) {
  return std::string_view("dMyhHmst").find(letter) != std::string_view::npos;
}

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
    text.replace(at, from.size(), to);
  }
}

}  // namespace

CivilTime civilTimeFromUnixSeconds(std::int64_t seconds) {
  std::int64_t days = seconds / kSecondsPerDay;
  std::int64_t rest = seconds % kSecondsPerDay;
  if (rest < 0) {
    rest += kSecondsPerDay;
    --days;
  }
  CivilTime time;
  civilFromDays(days, time);
  time.hour = static_cast<int>(rest / 3600);
  time.minute = static_cast<int>(rest / 60 % 60);
  time.second = static_cast<int>(rest % 60);
  return time;
}

CivilTime localTimeAt(std::int64_t unixMs) {
  std::int64_t seconds = unixMs / 1000;
  if (unixMs % 1000 < 0) --seconds;
  const std::time_t moment = static_cast<std::time_t>(seconds);
  std::tm local{};
  localCalendarTime(moment, local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::string formatDateTime(const CivilTime& time, std::string_view pattern, bool stripLeadingZero) {
  if (pattern.empty()) pattern = kDefaultDateTimePattern;
  std::string text;
  for (std::size_t at = 0; at < pattern.size();) {
    const char letter = pattern[at];
    if (pattern.substr(at, 2) == "''") {
      text += '\'';
      at += 2;
    } else if (letter == '\'') {
      // Quoted text; two quotes in a row stand for one quote.
      for (++at; at < pattern.size(); ++at) {
        if (pattern[at] != '\'') {
          text += pattern[at];
        } else if (at + 1 < pattern.size() && pattern[at + 1] == '\'') {
          text += '\'';
          ++at;
        } else {
          ++at;
          break;
        }
      }
    } else if (isPicture(letter)) {
      std::size_t count = 1;
      while (at + count < pattern.size() && pattern[at + count] == letter) ++count;
      text += picture(time, letter, count);
      at += count;
    } else {
      text += letter;
      ++at;
    }
  }
  if (stripLeadingZero) {
    replaceAll(text, "年0", "年");
    replaceAll(text, "月0", "月");
  }
  return text;
}

std::string formatDateTime(const Clock& clock, std::string_view pattern, bool stripLeadingZero) {
  return formatDateTime(localTimeAt(clock.nowMs()), pattern, stripLeadingZero);
}

}  // namespace qiru
