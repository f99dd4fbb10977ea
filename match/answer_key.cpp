#include "match/answer_key.h"

#include <unordered_set>

#include "materials/material_line.h"
#include "materials/text_split.h"
#include "steno/chord_codec.h"

namespace qiru {

AnswerKey::AnswerKey(std::string_view material) {
  const ChordCodec codec;
  std::unordered_set<std::string> ownedCodes;
  for (const std::string_view text : splitAt(material, "\r\n")) {
    const auto line = readMaterialLine(text, codec);
    if (!line || line->text.empty() || !isValidCode(line->code)) continue;
    if (!ownedCodes.insert(line->code).second) continue;
    std::vector<std::string> chords;
    for (const std::string_view chord : splitAt(line->code, "|")) chords.emplace_back(chord);
    chords_.try_emplace(line->text, std::move(chords));
  }
}

const std::vector<std::string>& AnswerKey::chordsOf(const std::string& text) const {
  static const std::vector<std::string> kNone;
  const auto found = chords_.find(text);
  return found == chords_.end() ? kNone : found->second;
}

}  // namespace qiru
