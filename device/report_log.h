#pragma once
// Report logs, for diagnosing a machine: what a machine sent, report by
// report, as text a person can read and edit. One report a line: the time
// in milliseconds, then the interrupt data bytes in hex, byte 0 first,
// separated by spaces:
//
//   # machine 12345, striking BA:FL
//   1000 07 FE FF FF FF 39 30 00
//
// Blank lines and lines starting with # are skipped. Times never go back.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "device/report_layout.h"

namespace qiru {

// A report may carry up to the size of the library's read buffer.
inline constexpr std::size_t kMaxLoggedReportBytes = kReadBufferBytes;
// Times beyond this (some 30,000 years after 1970) are mistakes, and would
// overflow the arithmetic of whoever plays the log.
inline constexpr std::int64_t kMaxLoggedTimeMs = 1'000'000'000'000'000;
inline constexpr std::int32_t kLoggedUsPerMs = 1000;

struct LoggedReport {
  std::int64_t timeMs = 0;
  std::vector<std::uint8_t> data;  // at least one byte: the length byte
  std::int32_t fractionUs = 0;     // microseconds past timeMs, 0 to 999
  std::int64_t timeUs() const { return timeMs * kLoggedUsPerMs + fractionUs; }
  friend bool operator==(const LoggedReport&, const LoggedReport&) = default;
};

// The report logged at a time in microseconds.
LoggedReport loggedAtUs(std::int64_t timeUs, std::vector<std::uint8_t> data);

struct ReportLog {
  std::vector<LoggedReport> reports;
  // The first malformed line: its number (1-based) and what is wrong with
  // it; 0 when the whole log was read.
  int errorLine = 0;
  std::string error;
  bool ok() const { return errorLine == 0; }
};

ReportLog parseReportLog(std::string_view text);

// "1000 07 FE FF FF FF 39 30 00" ("1000.250 ..." a quarter after), without a line end.
std::string formatReportLine(const LoggedReport& report);
// A comment line saying what the columns are, then one line per report,
// each ending with "\n".
std::string formatReportLog(const std::vector<LoggedReport>& reports);

// The interrupt data block the program reads for a logged report: its first
// kInterruptDataBytes bytes, zeros after a shorter report.
InterruptData interruptDataOf(const LoggedReport& report);

}  // namespace qiru
