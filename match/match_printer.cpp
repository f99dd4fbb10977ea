#include "match/match_printer.h"

#include <cstdio>
#include <ostream>

#include "match/key_record.h"
#include "match/result_texts.h"
#include "ui/control_table.h"

namespace qiru {
namespace {

std::string controlLine(ui::Control control, const std::string& text) {
  return std::string(ui::controlName(control)) + '=' + text + '\n';
}

}  // namespace

std::string resultLines(const RoundResult& result) {
  using ui::Control;
  const bool relay = result.mode == MatchMode::TeamRelay;
  // The score labels show the team totals in the relay, else the round's scores.
  const auto& shown = relay ? result.teamTotals : result.scores;
  char colour[16];
  std::snprintf(colour, sizeof colour, "0x%06X", static_cast<unsigned>(result.verdict.colour));
  std::string lines = controlLine(Control::标签_结果, std::string(result.verdict.text));
  lines += std::string(ui::controlName(Control::标签_结果)) + ".color=" + colour + '\n';
  if (relay) lines += controlLine(Control::标签_局成绩, roundScoreLine(result.scores[0], result.scores[1]));
  if (result.stopped) lines += controlLine(Control::标签_中止, std::string(kRoundStoppedMark));
  lines += controlLine(Control::标签_红方成绩, std::to_string(shown[0]));
  lines += controlLine(Control::标签_蓝方成绩, std::to_string(shown[1]));
  return lines;
}

void MatchPrinter::onChordJudged(const ChordJudged& chord) {
  write(std::to_string(chord.side) + '\t' + keyRecordText(chord.number, chord.name, chord.chord) + '\n');
}

void MatchPrinter::onRoundEnded(const RoundResult& result) { write(resultLines(result)); }

void MatchPrinter::write(const std::string& text) {
  std::lock_guard hold(outMutex_);
  out_ << text;
  if (flush_ == Flush::EachWrite) out_.flush();
}

}  // namespace qiru
