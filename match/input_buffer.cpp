#include "match/input_buffer.h"

#include <vector>

#include "materials/text_split.h"

namespace qiru {

std::string keepLastItems(std::string_view text, std::int32_t k) {
  const std::vector<std::string_view> items = splitAt(text, kChordSeparator);
  if (static_cast<std::int32_t>(items.size()) <= k) return std::string(text);
  std::string kept;
  for (std::size_t i = items.size() - static_cast<std::size_t>(k); i < items.size(); ++i) {
    if (items[i].empty()) continue;
    if (!kept.empty()) kept += kChordSeparator;
    kept += items[i];
  }
  return kept;
}

bool InputBuffer::take(const KeyEvent& event, std::int32_t chordCount) {
  if (chordCount < 2) {
    names = event.name;
    chords = event.chord;
    return true;
  }
  if (event.name == kConfirmKeyName || event.name == kDeleteKeyName) {
    clear();
    return false;
  }
  if (chords.empty()) {
    names = event.name;
    chords = event.chord;
    return true;
  }
  const std::string separator(kChordSeparator);
  names = keepLastItems(names + separator + event.name, chordCount);
  chords = keepLastItems(chords + separator + event.chord, chordCount);
  return true;
}

}  // namespace qiru
