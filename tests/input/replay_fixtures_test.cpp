// Report logs replayed through machine 1's queue, reader thread and chord
// capture: each small log gives the chords of the .chords file beside it
// (code text, a TAB, the name). The chords are those every earlier build
// gave, but for one change: a release finishes its chord at once, so that
// keys going down within 20 ms of it begin a chord of their own. Before,
// they merged into the release, and a chord struck again quickly, or one
// made of keys of the chord before, was lost.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "device/report_log.h"
#include "input/report_replay.h"
#include "steno/builtin_scheme.h"

namespace qiru {
namespace {

std::string readFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string replayed(const std::string& logPath) {
  const ReportLog log = parseReportLog(readFile(logPath));
  EXPECT_TRUE(log.ok()) << logPath << ": " << log.error;
  std::string chords;
  for (const KeyEvent& event : replayReportLog(log.reports)) chords += event.chord + "\t" + event.name + "\n";
  return chords;
}

TEST(ReplayFixtures, EachLogGivesItsChords) {
  ASSERT_TRUE(loadFingeringScheme(nullptr));
  const std::string fixtures = QIRU_SOURCE_DIR "/tests/input/report_logs/";
  const std::string commandLogs = QIRU_SOURCE_DIR "/tests/tools/report_logs/";
  const struct {
    const std::string& folder;
    const char* name;
  } logs[] = {
      // A key tapped 5 ms after the release: a chord (it was lost).
      {fixtures, "tap_after_release"},
      // The same chord again 10 ms after its release, and a key of it 19,
      // 20 and 21 ms after: each a chord (all but the last were lost).
      {fixtures, "restruck_within_window"},
      // Chords begun within the window: one with new keys (a chord before
      // too), one with keys of the chord let go only (it was lost).
      {fixtures, "next_chord_within_window"},
      // Taps, holds, a partial release struck again, a roll.
      {fixtures, "taps_holds_partial"},
      // Keys of the chord let go, then more within the window: two chords
      // (it gave :UOI alone).
      {fixtures, "let_go_then_more"},
      // The logs the command's own tests play: 7- and 5-byte reports, a log
      // that starts before the replay's lead-in.
      {commandLogs, "machine1_long_reports"},
      {commandLogs, "machine1_short_reports"},
      {commandLogs, "machine1_quick_chords"},
  };
  for (const auto& log : logs) {
    const std::string path = log.folder + log.name;
    EXPECT_EQ(replayed(path + ".log"), readFile(path + ".chords")) << log.name;
  }
}

}  // namespace
}  // namespace qiru
