#include "steno/chord_decoder.h"

#include <string_view>

namespace qiru {
namespace {

// What one hand's key set means on its own.
enum class AreaKind {
  NoKeys = 0,
  Unknown = -1,  // keys struck, no table knows them
  Syllable = 1,
  Special = 2,
  Shape = 3,
  English = 4,
  Tone = 5,
  AreaFunction = 9,
};

struct AreaResult {
  AreaKind kind = AreaKind::NoKeys;
  std::string letters;
  std::string text;             // syllable, pinyin, pool text or tone digits
  std::string_view characters;  // special codes only

  // Characters for a special code, else the text, else the bare letters.
  std::string_view part() const {
    if (kind == AreaKind::Special) return characters;
    return text.empty() ? std::string_view(letters) : std::string_view(text);
  }
};

bool hit(std::int32_t value) { return value > 0; }

AreaResult decodeArea(const FingeringScheme& scheme, KeySet keySet, int area) {
  AreaResult result;
  if (keySet <= 0) return result;
  result.letters = scheme.codec.lettersOf(keySet, area);
  const TextPool& pool = scheme.schemeTextPool;
  if (const auto number = scheme.syllableMap.get(keySet); hit(number)) {
    result.kind = AreaKind::Syllable;
    result.text = scheme.dictionary.syllables.getText(number);
  } else if (const auto index = scheme.specialMap.get(keySet); hit(index)) {
    result.kind = AreaKind::Special;
    result.characters = pool.getText(index);
    result.text = pool.getText(index + 1);
  } else if (const auto shape = scheme.shapeMap.get(keySet); hit(shape)) {
    result.kind = AreaKind::Shape;
    result.text = pool.getText(shape);
  } else if (const auto letter = scheme.englishMap.get(keySet); hit(letter)) {
    result.kind = AreaKind::English;
    result.text = pool.getText(letter);
  } else if (const auto tone = scheme.toneMap.get(keySet); hit(tone)) {
    result.kind = AreaKind::Tone;
    result.text = std::to_string(tone);
  } else if (const CodeMap& functions = area == 1 ? scheme.leftFunctionMap : scheme.rightFunctionMap;
             hit(functions.get(keySet))) {
    result.kind = AreaKind::AreaFunction;
    result.text = pool.getText(functions.get(keySet));
  } else {
    result.kind = AreaKind::Unknown;
  }
  return result;
}

}  // namespace

std::string decodeChord(const FingeringScheme& scheme, KeySet left, KeySet right,
                        TwoAreaCode combined, std::string& codeText) {
  const AreaResult leftResult = decodeArea(scheme, left, 1);
  const AreaResult rightResult = decodeArea(scheme, right, 2);
  codeText = leftResult.letters + ":" + rightResult.letters;

  // A two-area function key wins over whatever each hand means alone.
  for (const CodeMap* map : {&scheme.functionMap, &scheme.repeatMap, &scheme.forwardMap}) {
    if (const auto index = map->get(combined); hit(index)) {
      return std::string(scheme.schemeTextPool.getText(index));
    }
  }
  std::string output(leftResult.part());
  output += ':';
  output += rightResult.part();
  return output;
}

}  // namespace qiru
