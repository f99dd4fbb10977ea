#include "steno/chord_codec.h"

#include <algorithm>
#include <vector>

namespace qiru {

ChordCodec::ChordCodec() {
  setKeyNames(kKeyNames, {}, false);
  bitValues_[0] = 0;
  for (int i = 0; i < kKeysPerHand; ++i) {
    bitValues_[1 + i] = 1 << i;
    bitValues_[1 + kKeysPerHand + i] = 1 << i;
  }
}

void ChordCodec::setKeyNames(std::string_view left, std::string_view right, bool rightGiven) {
  keyNames_[0] = std::string(left);
  keyNames_[1] = std::string(rightGiven ? right : left);
}

KeySet ChordCodec::keySetOf(std::string_view text, int area) const {
  const std::string& names = keyNames_[area == 2 ? 1 : 0];
  KeySet keySet = 0;
  for (char c : text) {
    const auto position = names.find(c);
    if (position != std::string::npos && position < kKeysPerHand) {
      keySet |= bitValues_[1 + position];
    }
  }
  return keySet;
}

TwoAreaCode ChordCodec::twoAreaCodeOf(std::string_view text) const {
  if (text.find(':') == std::string_view::npos) return 0;
  if (text.back() == ':') {
    return makeTwoAreaCode(keySetOf(text.substr(0, text.size() - 1), 1), 0);
  }
  if (text.front() == ':') {
    return makeTwoAreaCode(0, keySetOf(text.substr(1), 2));
  }
  const auto colon = text.find(':');
  if (text.find(':', colon + 1) != std::string_view::npos) return -1;
  return makeTwoAreaCode(keySetOf(text.substr(0, colon), 1), keySetOf(text.substr(colon + 1), 2));
}

std::string ChordCodec::lettersOf(KeySet keySet, int area) const {
  const std::string& names = keyNames_[area == 2 ? 1 : 0];
  std::string letters;
  for (int i = 0; i < kKeysPerHand && i < static_cast<int>(names.size()); ++i) {
    if (keySet & bitValues_[1 + i]) letters += names[i];
  }
  return letters;
}

std::string ChordCodec::codeText(TwoAreaCode code) const {
  return lettersOf(leftKeySetOf(code), 1) + ":" + lettersOf(rightKeySetOf(code), 2);
}

namespace {

std::string withoutSpaces(std::string_view text) {
  std::string result(text);
  result.erase(std::remove(result.begin(), result.end(), ' '), result.end());
  return result;
}

std::vector<std::string_view> splitAt(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (true) {
    const auto end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

}  // namespace

std::string ChordCodec::canonicalChord(std::string_view text) const {
  if (text.empty()) return {};
  const auto lettersOrAsWritten = [this](std::string_view part, int area) {
    const KeySet keySet = keySetOf(part, area);
    return keySet == 0 ? std::string(part) : lettersOf(keySet, area);
  };
  if (text.find(':') == std::string_view::npos) return lettersOrAsWritten(text, 1);
  // Padding guarantees at least two parts even for ":I" or "RNO:".
  const std::string padded = " " + std::string(text) + " ";
  const auto parts = splitAt(padded, ':');
  return lettersOrAsWritten(withoutSpaces(parts[0]), 1) + ":" +
         lettersOrAsWritten(withoutSpaces(parts[1]), 2);
}

std::string ChordCodec::canonicalList(std::string_view text) const {
  std::string result;
  bool first = true;
  for (std::string_view item : splitAt(text, '|')) {
    if (!first) result += '|';
    first = false;
    result += canonicalChord(item);
  }
  return result;
}

}  // namespace qiru
