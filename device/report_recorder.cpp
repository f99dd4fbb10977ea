#include "device/report_recorder.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ostream>
#include <string>

#include "device/interrupt_ring.h"
#include "device/machine_connection.h"
#include "device/report_log.h"

namespace qiru {

namespace {

// "2023-11-14 22:13:20 UTC": the log's times are UTC milliseconds too.
std::string utcTextOf(std::int64_t unixMs) {
  using namespace std::chrono;
  const sys_time<milliseconds> time{milliseconds(unixMs)};
  const sys_days day = floor<days>(time);
  const year_month_day date(day);
  const hh_mm_ss clock(floor<seconds>(time - day));
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d UTC", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()));
  return text;
}

std::string headerOf(int deviceIndex, std::int64_t startMs, LinkTestResult link) {
  return "# machine " + std::to_string(deviceIndex + 1) + " (device index " + std::to_string(deviceIndex) +
         "), recorded from " + utcTextOf(startMs) + "\n# link test: " + std::string(describeLinkTest(link)) + "\n" +
         formatReportLog({});
}

// Writes the ring's blocks as report lines. A log's times never go back, so
// a block stamped before its predecessor (the system time was set back)
// takes its predecessor's time.
class LogWriter {
 public:
  LogWriter(std::ostream& out, RecordOutcome& outcome) : out_(out), outcome_(outcome) {}

  void drain(InterruptRing& ring) {
    StampedBlock block;
    while (ring.pop(block)) {
      lastUs_ = std::max(lastUs_, block.timeUs);
      out_ << formatReportLine(loggedAtUs(lastUs_, {block.data.begin(), block.data.end()})) << '\n';
      ++outcome_.recorded;
    }
    out_.flush();
  }

 private:
  std::ostream& out_;
  RecordOutcome& outcome_;
  std::int64_t lastUs_ = 0;
};

// The log's times: UTC to the microsecond. The system time says when the
// recording began, to the millisecond; the monotonic clock measures from
// there, finer, and never goes back.
class LogTime {
 public:
  explicit LogTime(const Clock& clock)
      : clock_(clock), startUs_(clock.nowMs() * kUsPerMs), startMonotonicUs_(clock.monotonicUs()) {}
  std::int64_t startMs() const { return startUs_ / kUsPerMs; }
  std::int64_t nowUs() const { return startUs_ + (clock_.monotonicUs() - startMonotonicUs_); }

 private:
  const Clock& clock_;
  const std::int64_t startUs_;
  const std::int64_t startMonotonicUs_;
};

bool stopRequested(const RecordRequest& request) {
  return request.stop != nullptr && request.stop->load(std::memory_order_relaxed);
}

}  // namespace

RecordOutcome recordReports(Ch375Library& library, Clock& clock, const RecordRequest& request, std::ostream& out) {
  RecordOutcome outcome;
  const int index = request.deviceIndex;
  if (library.openDevice(index) == kCh375InvalidHandle) return outcome;
  outcome.opened = true;
  library.setTimeout(index, kDeviceTimeoutMs, kDeviceTimeoutMs);
  outcome.link = linkTest(library, index);

  InterruptRing ring(request.ringCapacity);
  const LogTime logTime(clock);
  const auto routine = [&ring, &logTime](const std::uint8_t* data) { ring.push(data, logTime.nowUs()); };
  const std::int64_t startMs = logTime.startMs();
  out << headerOf(index, startMs, outcome.link) << std::flush;
  outcome.listened = library.setIntRoutine(index, routine) != 0;
  // A removal notice may be about another device: the machine is gone only
  // when it no longer answers the test frame.
  std::atomic<bool> removalNoticed{false};
  library.setDeviceNotify(index, "", [&removalNoticed](std::uint32_t status) {
    if (status == kCh375DeviceRemoved) removalNoticed = true;
  });
  const auto unplugged = [&] {
    return removalNoticed.exchange(false) && linkTest(library, index) != LinkTestResult::Answers;
  };
  if (outcome.listened) {
    if (request.onRecording) request.onRecording();
    LogWriter writer(out, outcome);
    const std::optional<std::int64_t> endMs =
        request.durationMs ? std::optional(startMs + *request.durationMs) : std::nullopt;
    while (!stopRequested(request) && out.good()) {
      const std::int64_t leftMs = endMs ? *endMs - clock.nowMs() : kRecorderPollMs;
      if (leftMs <= 0) break;
      clock.sleepFor(std::min(leftMs, kRecorderPollMs));
      writer.drain(ring);
      if (unplugged()) {
        outcome.unplugged = true;
        break;
      }
    }
    // Once the routine is gone nothing more reaches the ring: the last
    // drain writes every report that arrived.
    library.setIntRoutine(index, {});
    writer.drain(ring);
  }
  library.setDeviceNotify(index, "", {});
  library.closeDevice(index);
  outcome.dropped = ring.droppedCount();
  outcome.writeFailed = !out.good();
  return outcome;
}

}  // namespace qiru
