#include <cstring>

#include "device/key_report_queue.h"
#include "device/report_log.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_entries.h"
#include "input/chord_capture.h"
#include "steno/builtin_scheme.h"
#include "support/clock.h"

namespace qiru::fuzz {
namespace {

// One report of the stream: a gap in milliseconds after the one before,
// then the interrupt data block.
constexpr std::size_t kRecordBytes = 1 + kInterruptDataBytes;
// After the last report the reader keeps polling this long, so that the
// last chord is let go.
constexpr std::int64_t kSettleMs = 2000;
constexpr std::int32_t kStreamSide = 1;

class CheckedSink final : public KeyEventSink {
 public:
  void onKeyEvent(const KeyEvent& event) override {
    check(event.side == kStreamSide, "a chord came out on the other side");
    check(!event.chord.empty(), "a chord came out without keys");
  }
};

// The reader thread's loop without the thread: a step at each report and
// at each deadline the capture names.
class PolledCapture {
 public:
  PolledCapture() : capture_(kStreamSide, queue_, sink_) {}

  // The steps due by `untilUs`, as the reader's waits would have ended.
  void stepUntil(std::int64_t untilUs) {
    while (dueUs_ <= untilUs) dueUs_ = capture_.captureStep(dueUs_).dueUs;
  }
  void push(const std::uint8_t* data, std::int64_t atUs) {
    stepUntil(atUs);
    queue_.push(data, atUs);
    dueUs_ = capture_.captureStep(atUs).dueUs;
  }

 private:
  KeyReportQueue queue_;
  CheckedSink sink_;
  ChordCapture capture_;
  std::int64_t dueUs_ = kNoDeadlineUs;
};

}  // namespace

void reportLog(std::span<const std::uint8_t> bytes) {
  const ReportLog log = parseReportLog(textOf(bytes));
  if (!log.ok()) {
    check(log.errorLine > 0 && !log.error.empty(), "a refused log does not say where and why");
    return;
  }
  for (const LoggedReport& report : log.reports) interruptDataOf(report);
  const ReportLog again = parseReportLog(formatReportLog(log.reports));
  check(again.ok() && again.reports == log.reports, "a log read does not write back the same");
}

void interruptStream(std::span<const std::uint8_t> bytes) {
  static const bool schemeLoaded = loadFingeringScheme(nullptr);
  (void)schemeLoaded;
  PolledCapture reader;
  std::int64_t nowUs = 0;
  for (std::size_t at = 0; at + kRecordBytes <= bytes.size(); at += kRecordBytes) {
    nowUs += bytes[at] * kUsPerMs;
    InterruptData data{};
    std::memcpy(data.data(), &bytes[at + 1], kInterruptDataBytes);
    reader.push(data.data(), nowUs);
  }
  reader.stepUntil(nowUs + kSettleMs * kUsPerMs);
}

}  // namespace qiru::fuzz
