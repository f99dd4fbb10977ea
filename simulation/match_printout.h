#pragma once
// A match as text, for organisers' logs and scripted checks: each key record
// line after its side (1 red, 2 blue) and a TAB ("1<TAB>3 EN - F:I"), as the
// line is written, and after each round the result controls
// ("标签_结果=本局红方获胜！", "标签_结果.color=0x865AB2", the round line in the
// relay, the stop mark of a round stopped early, "标签_红方成绩=…",
// "标签_蓝方成绩=…"). `qiru-steno simulate` and
// `qiru-pk --print-results` print the same lines.

#include <array>
#include <cstddef>
#include <iosfwd>
#include <mutex>
#include <string>

#include "device/side.h"
#include "ui/control_model.h"

namespace qiru {

// Writes each key record line to `out` as it is appended to its box.
class KeyRecordPrinter {
 public:
  // `flushEachLine`: every line reaches the reader at once (a person's match
  // followed live); else the stream's buffer decides (a simulation's
  // thousands of lines).
  explicit KeyRecordPrinter(std::ostream& out, bool flushEachLine = false) : out_(out), flushEachLine_(flushEachLine) {}

  // A change of the model, heard with the model's lock held, in the order
  // the lines are written.
  void onChange(const ui::ControlChange& change);
  // Lines that the match did not write (the results), between the key
  // records; flushed, so that a reader sees each round as it ends.
  void write(const std::string& lines);

 private:
  std::ostream& out_;
  const bool flushEachLine_;
  std::mutex outMutex_;  // the worker writes key records, the referee results
  std::array<std::size_t, kSideCount> printedLength_{};  // guarded by the model's lock
};

// The result controls of the round just closed, one "NAME=TEXT" line each.
std::string resultLines(const ui::ControlModel& model);

}  // namespace qiru
