// Report logs replayed through machine 1's queue, reader thread and chord
// capture: each small log gives the chords of the .chords file beside it
// (code text, a TAB, the name). The expected chords are
// those the capture gave before releases let their chord go at once; a
// release still merges a key going down again within its window.

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
      // A key down again 5 ms after the release is a bounce of the chord let go.
      {fixtures, "bounce_after_release"},
      // The same chord again 10 ms after its release is one chord; a key 19
      // or 20 ms after the release merges into it, 21 ms after is a chord.
      {fixtures, "restruck_within_window"},
      // A chord begun within the window with new keys is a chord of its
      // own; one with only keys of the chord let go is not.
      {fixtures, "next_chord_within_window"},
      // Taps, holds, a partial release struck again, a roll.
      {fixtures, "taps_holds_partial"},
      // The one change: a chord let go is out at its release, so a chord
      // begun within the window that takes its keys and more no longer
      // swallows it (it used to give :UOI alone).
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
