// Report logs as a person writes and reads them.

#include "device/report_log.h"

#include <gtest/gtest.h>

namespace qiru {
namespace {

TEST(ReportLog, ReadsAHandWrittenLog) {
  const ReportLog log = parseReportLog(
      "# machine 12345 striking BA:FL\r\n"
      "\r\n"
      "1000 07 7f 7F ff 9F 39 30 00\r\n"
      "   # indented comment\n"
      "1003\t05  FF\t7F 7F 9F\n"
      "1003 03\n"
      "1090 07 FF FF FF FF 39 30 00");  // no line end at the end
  ASSERT_TRUE(log.ok()) << log.error;
  const std::vector<LoggedReport> expected = {
      {1000, {0x07, 0x7F, 0x7F, 0xFF, 0x9F, 0x39, 0x30, 0x00}},
      {1003, {0x05, 0xFF, 0x7F, 0x7F, 0x9F}},
      {1003, {0x03}},
      {1090, {0x07, 0xFF, 0xFF, 0xFF, 0xFF, 0x39, 0x30, 0x00}},
  };
  EXPECT_EQ(log.reports, expected);
}

TEST(ReportLog, NamesTheFirstMalformedLine) {
  struct Case {
    std::string_view text;
    int line;
    std::string_view error;
  };
  const Case cases[] = {
      {"1000 07 FE\nten 07 FE\n", 2, "line 2: \"ten\" is not a time"},
      {"-5 07\n", 1, "line 1: \"-5\" is not a time"},
      {"# header\n\n1000 07 FE FG\n", 3, "line 3: \"FG\" is not a byte; write each byte as two hex digits"},
      {"1000 7 FE\n", 1, "line 1: \"7\" is not a byte"},
      {"1000 0x07\n", 1, "line 1: \"0x07\" is not a byte"},
      {"1000\n", 1, "line 1: the time 1000 has no report bytes after it"},
      {"1000 07\n999 07\n", 2, "line 2: the time 999 is earlier than the line before (1000)"},
      {"99999999999999999999 07\n", 1, "is not a time"},
      {"1000000000000000001 07\n", 1, "is not a time"},  // beyond any clock
      {"1000. 07\n", 1, "line 1: \"1000.\" is not a time"},
      {"1000.1234 07\n", 1, "\"1000.1234\" is not a time"},  // finer than a microsecond
      {"1000.-5 07\n", 1, "is not a time"},
      {"1000.+5 07\n", 1, "is not a time"},
      {".5 07\n", 1, "is not a time"},
      {"1000.5.5 07\n", 1, "is not a time"},
      {"1000,5 07\n", 1, "is not a time"},
      {"1000.5 07\n1000.25 07\n", 2, "line 2: the time 1000.250 is earlier than the line before (1000.500)"},
  };
  for (const Case& c : cases) {
    const ReportLog log = parseReportLog(c.text);
    EXPECT_EQ(log.errorLine, c.line) << c.text;
    EXPECT_NE(log.error.find(c.error), std::string::npos) << log.error;
  }
}

TEST(ReportLog, AReportHoldsAtMostTheReadBuffer) {
  std::string line = "1000";
  for (std::size_t i = 0; i < kMaxLoggedReportBytes; ++i) line += " FF";
  EXPECT_TRUE(parseReportLog(line).ok());
  const ReportLog tooLong = parseReportLog(line + " FF");
  EXPECT_EQ(tooLong.error, "line 1: 65 bytes; a report has at most 64");
}

// Times to the microsecond: a fraction of up to three digits; whole
// milliseconds read and write as they always have.
TEST(ReportLog, ReadsTimesToTheMicrosecond) {
  const ReportLog log = parseReportLog(
      "1000 03\n"
      "1000.25 03\n"
      "1000.5 03\n"
      "1000.999 03\n"
      "1001.000 03\n"
      "1001.001 03\n");
  ASSERT_TRUE(log.ok()) << log.error;
  std::vector<std::int64_t> timesUs;
  for (const LoggedReport& report : log.reports) timesUs.push_back(report.timeUs());
  EXPECT_EQ(timesUs, (std::vector<std::int64_t>{1'000'000, 1'000'250, 1'000'500, 1'000'999, 1'001'000, 1'001'001}))
      << "times read";
  // A fraction is not an earlier time: 1000.25 after 1000.5 would be.
  EXPECT_FALSE(parseReportLog("1000.5 03\n1000.25 03\n").ok());
}

TEST(ReportLog, WritesWhatItReads) {
  const std::vector<LoggedReport> reports = {
      {1000, {0x07, 0xFE, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00}},
      loggedAtUs(1'000'250, {0x07, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00}),
      loggedAtUs(1'000'251, {0x03}),
      {1021, {0x03}},
      loggedAtUs(1'021'007, {0x03}),
  };
  EXPECT_EQ(formatReportLine(reports[0]), "1000 07 FE FF FF FF 01 00 00");
  EXPECT_EQ(formatReportLine(reports[1]), "1000.250 07 FF FF FF FF 01 00 00");
  EXPECT_EQ(formatReportLine(reports[4]), "1021.007 03");
  const ReportLog log = parseReportLog(formatReportLog(reports));
  ASSERT_TRUE(log.ok()) << log.error;
  EXPECT_EQ(log.reports, reports);
}

TEST(ReportLog, ShortReportsReadAsZerosBeyondTheirBytes) {
  const InterruptData data = interruptDataOf({1000, {0x05, 0xFE, 0xFF}});
  EXPECT_EQ(data, (InterruptData{0x05, 0xFE, 0xFF, 0, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace qiru
