#include "device/report_log.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

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

// Reads one report line; an empty result means it was read.
std::string parseLine(std::string_view line, LoggedReport& report) {
  const std::string_view time = nextWord(line);
  if (!parseWhole(time, report.timeMs, 10) || report.timeMs < 0 || report.timeMs > kMaxLoggedTimeMs) {
    return "\"" + std::string(time) +
           "\" is not a time; a line starts with the time in milliseconds, then the report's bytes in hex"
           " (1000 07 FE FF FF FF 01 00 00)";
  }
  for (std::string_view word = nextWord(line); !word.empty(); word = nextWord(line)) {
    std::uint8_t byte = 0;
    if (word.size() != 2 || !parseWhole(word, byte, 16)) {
      return "\"" + std::string(word) + "\" is not a byte; write each byte as two hex digits, 00 to FF";
    }
    report.data.push_back(byte);
  }
  if (report.data.empty()) {
    return "the time " + std::to_string(report.timeMs) + " has no report bytes after it";
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
    if (error.empty() && !log.reports.empty() && report.timeMs < log.reports.back().timeMs) {
      error = "the time " + std::to_string(report.timeMs) + " is earlier than the line before (" +
              std::to_string(log.reports.back().timeMs) + "); the reports of a log are in time order";
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

std::string formatReportLine(const LoggedReport& report) {
  std::string line = std::to_string(report.timeMs);
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
