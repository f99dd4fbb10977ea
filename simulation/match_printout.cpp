#include "simulation/match_printout.h"

#include <cstdio>
#include <ostream>
#include <sstream>
#include <string_view>

#include "match/key_record.h"

namespace qiru {

using ui::Control;

void KeyRecordPrinter::onChange(const ui::ControlChange& change) {
  if (change.property != ui::Property::Text) return;
  for (const std::int32_t side : {kRedSide, kBlueSide}) {
    if (change.control != keyRecordBox(side)) continue;
    const std::string& text = change.state.text;
    std::size_t& printed = printedLength_[sideSlot(side)];
    // Appended lines start with a line break; a heading or an emptied box does not.
    if (text.size() > printed && text.compare(printed, 2, "\r\n") == 0) {
      std::lock_guard hold(outMutex_);
      out_ << side << '\t' << std::string_view(text).substr(printed + 2) << '\n';
      if (flushEachLine_) out_.flush();
    }
    printed = text.size();
  }
}

void KeyRecordPrinter::write(const std::string& lines) {
  std::lock_guard hold(outMutex_);
  out_ << lines;
  out_.flush();
}

std::string resultLines(const ui::ControlModel& model) {
  std::ostringstream out;
  const auto line = [&](Control control) {
    out << ui::controlName(control) << '=' << model.text(control) << '\n';
  };
  line(Control::标签_结果);
  char colour[16];
  std::snprintf(colour, sizeof colour, "0x%06X", model.get(Control::标签_结果, &ui::ControlState::textColour));
  out << ui::controlName(Control::标签_结果) << ".color=" << colour << '\n';
  if (model.shown(Control::标签_局成绩)) line(Control::标签_局成绩);
  if (model.shown(Control::标签_中止)) line(Control::标签_中止);
  line(Control::标签_红方成绩);
  line(Control::标签_蓝方成绩);
  return out.str();
}

}  // namespace qiru
