#include "match/chord_judgement.h"

#include <algorithm>
#include <vector>

#include "match/input_buffer.h"
#include "materials/text_split.h"

namespace qiru {

bool continuesAnswer(std::string_view pendingChords, std::string_view answerCode) {
  const std::vector<std::string_view> pending = splitAt(pendingChords, kChordSeparator);
  const std::vector<std::string_view> answer = splitAt(answerCode, kChordSeparator);
  // The longest tail of the pending chords that can begin the answer first.
  for (std::size_t tail = std::min(pending.size(), answer.size()); tail >= 1; --tail) {
    if (std::equal(pending.end() - static_cast<std::ptrdiff_t>(tail), pending.end(), answer.begin())) return true;
  }
  return false;
}

}  // namespace qiru
