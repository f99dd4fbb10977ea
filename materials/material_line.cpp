#include "materials/material_line.h"

#include <algorithm>

#include "materials/text_split.h"

namespace qiru {
namespace {

constexpr std::string_view kFullWidthSpace = "\u3000";
constexpr std::string_view kFullWidthColon = "\uFF1A";

std::string_view trimSpaces(std::string_view text) {
  while (true) {
    if (text.starts_with(' ')) {
      text.remove_prefix(1);
    } else if (text.starts_with(kFullWidthSpace)) {
      text.remove_prefix(kFullWidthSpace.size());
    } else if (text.ends_with(' ')) {
      text.remove_suffix(1);
    } else if (text.ends_with(kFullWidthSpace)) {
      text.remove_suffix(kFullWidthSpace.size());
    } else {
      return text;
    }
  }
}

// Spaces go, the full-width colon becomes ":".
std::string plainCode(std::string_view code) {
  std::string plain;
  plain.reserve(code.size());
  while (!code.empty()) {
    if (code.starts_with(kFullWidthSpace)) {
      code.remove_prefix(kFullWidthSpace.size());
    } else if (code.starts_with(kFullWidthColon)) {
      plain += ':';
      code.remove_prefix(kFullWidthColon.size());
    } else {
      if (code.front() != ' ') plain += code.front();
      code.remove_prefix(1);
    }
  }
  return plain;
}

}  // namespace

std::optional<MaterialLine> readMaterialLine(std::string_view line, const ChordCodec& codec) {
  const auto columns = splitAt(line, "\t");
  if (columns.size() < 2) return std::nullopt;
  return MaterialLine{std::string(trimSpaces(columns[0])), normaliseCode(columns[1], codec),
                      columns.size() > 2 ? std::string(columns[2]) : std::string()};
}

std::string normaliseCode(std::string_view code, const ChordCodec& codec) {
  const std::string plain = plainCode(code);
  std::string normalised;
  for (std::string_view chord : splitAt(plain, "|")) {
    const std::string canonical = codec.canonicalChord(chord);
    if (canonical.empty()) continue;
    if (!normalised.empty()) normalised += '|';
    normalised += canonical;
  }
  return normalised;
}

bool isValidCode(std::string_view code) {
  // Canonical chords with a colon always read as two hands, so a chord
  // fails only when it has no colon at all.
  const auto chords = splitAt(code, "|");
  return std::all_of(chords.begin(), chords.end(),
                     [](std::string_view chord) { return chord.find(':') != std::string_view::npos; });
}

std::int32_t chordCountOf(std::string_view code) {
  return 1 + static_cast<std::int32_t>(std::count(code.begin(), code.end(), '|'));
}

}  // namespace qiru
