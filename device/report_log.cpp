#include "device/report_log.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <utility>

namespace qiru {

namespace {

constexpr std::string_view kBlanks = " \t\r";

// The next word of the line, or an empty view at its end.
std::string_view nextWord(std::string_view& line) {
  const std::size_t start = line.find_first_not_of(kBlanks);
  if (start == std::string_view::npos) {
    line = {};
    return {};
  }
  line.remove_prefix(start);
  const std::size_t end = std::min(line.find_first_of(kBlanks), line.size());
  const std::string_view word = line.substr(0, end);
  line.remove_prefix(end);
  return word;
}

template <typename T>
bool parseWhole(std::string_view word, T& value, int base) {
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, base);
  return error == std::errc() && end == word.data() + word.size();
}

// Digits after the point of a time: microseconds at most.
constexpr std::size_t kMaxFractionDigits = 3;

// "1000" or "1000.25": whole milliseconds and the microseconds past them.
bool parseTime(std::string_view word, LoggedReport& report) {
  const std::size_t point = word.find('.');
  if (!parseWhole(word.substr(0, point), report.timeMs, 10) || report.timeMs < 0 ||
      report.timeMs > kMaxLoggedTimeMs) {
    return false;
  }
  if (point == std::string_view::npos) return true;
  const std::string_view digits = word.substr(point + 1);
  if (digits.empty() || digits.size() > kMaxFractionDigits || digits.find_first_not_of("0123456789") != digits.npos ||
      !parseWhole(digits, report.fractionUs, 10)) {
    return false;
  }
  for (std::size_t scale = digits.size(); scale < kMaxFractionDigits; ++scale) report.fractionUs *= 10;
  return true;
}

// "1000.250" for 1,000,250 µs; no fraction for a whole millisecond.
std::string timeTextOf(const LoggedReport& report) {
  std::string text = std::to_string(report.timeMs);
  if (report.fractionUs != 0) {
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, ".%03d", static_cast<int>(report.fractionUs));
    text += fraction;
  }
  return text;
}

// Reads one report line; an empty result means it was read.
std::string parseLine(std::string_view line, LoggedReport& report) {
  const std::string_view time = nextWord(line);
  if (!parseTime(time, report)) {
    return "\"" + std::string(time) +
           "\" is not a time; a line starts with the time in milliseconds (a fraction to the microsecond at"
           " most: 1000.25), then the report's bytes in hex (1000 07 FE FF FF FF 01 00 00)";
  }
  for (std::string_view word = nextWord(line); !word.empty(); word = nextWord(line)) {
    std::uint8_t byte = 0;
    if (word.size() != 2 || !parseWhole(word, byte, 16)) {
      return "\"" + std::string(word) + "\" is not a byte; write each byte as two hex digits, 00 to FF";
    }
    report.data.push_back(byte);
  }
  if (report.data.empty()) {
    return "the time " + timeTextOf(report) + " has no report bytes after it";
  }
  if (report.data.size() > kMaxLoggedReportBytes) {
    return std::to_string(report.data.size()) + " bytes; a report has at most " +
           std::to_string(kMaxLoggedReportBytes);
  }
  return {};
}

bool isSkipped(std::string_view line) {
  const std::size_t start = line.find_first_not_of(kBlanks);
  return start == std::string_view::npos || line[start] == '#';
}

}  // namespace

ReportLog parseReportLog(std::string_view text) {
  ReportLog log;
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    ++lineNumber;
    if (isSkipped(line)) continue;
    LoggedReport report;
    std::string error = parseLine(line, report);
    if (error.empty() && !log.reports.empty() && report.timeUs() < log.reports.back().timeUs()) {
      error = "the time " + timeTextOf(report) + " is earlier than the line before (" +
              timeTextOf(log.reports.back()) + "); the reports of a log are in time order";
    }
    if (!error.empty()) {
      log.errorLine = lineNumber;
      log.error = "line " + std::to_string(lineNumber) + ": " + error;
      return log;
    }
    log.reports.push_back(std::move(report));
  }
  return log;
}

LoggedReport loggedAtUs(std::int64_t timeUs, std::vector<std::uint8_t> data) {
  return {timeUs / kLoggedUsPerMs, std::move(data), static_cast<std::int32_t>(timeUs % kLoggedUsPerMs)};
}

std::string formatReportLine(const LoggedReport& report) {
  std::string line = timeTextOf(report);
  for (const std::uint8_t byte : report.data) {
    char hex[4];
    std::snprintf(hex, sizeof hex, " %02X", byte);
    line += hex;
  }
  return line;
}

std::string formatReportLog(const std::vector<LoggedReport>& reports) {
  std::string text = "# time (ms), then the interrupt data bytes in hex, byte 0 (the length) first\n";
  for (const LoggedReport& report : reports) text += formatReportLine(report) + "\n";
  return text;
}

InterruptData interruptDataOf(const LoggedReport& report) {
  InterruptData data{};
  std::copy_n(report.data.begin(), std::min(report.data.size(), data.size()), data.begin());
  return data;
}

}  // namespace qiru
