#include "materials/material_set.h"

#include <algorithm>
#include <chrono>
#include <limits>

#include "materials/material_line.h"
#include "materials/text_split.h"

namespace qiru {
namespace {

std::uint64_t freshSeed() {
  std::random_device device;
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  return (std::uint64_t{device()} << 32) ^ device() ^ static_cast<std::uint64_t>(ticks);
}

// A uniform draw from 0..bound-1. Written out rather than taken from
// std::uniform_int_distribution so that a seeded play order is the same
// with every standard library.
std::uint64_t randomBelow(std::mt19937_64& random, std::uint64_t bound) {
  const std::uint64_t limit = std::numeric_limits<std::uint64_t>::max() -
                              std::numeric_limits<std::uint64_t>::max() % bound;
  std::uint64_t draw;
  do {
    draw = random();
  } while (draw >= limit);
  return draw % bound;
}

std::string lineErrorText(std::int32_t lineNumber, std::string_view line) {
  return "错误设置条目：第" + std::to_string(lineNumber) + "行\r\n" + std::string(line);
}

}  // namespace

MaterialSet::MaterialSet(MessageService* messages) : messages_(messages), random_(freshSeed()) {}

void MaterialSet::Clear() {
  dictionary.Reset(kDictionaryCapacity);
  legalEntries_.clear();
  entries_.clear();
}

bool MaterialSet::Parse(std::string_view text, std::int32_t n) {
  Clear();
  std::vector<std::string_view> lines = splitAt(text, "\r\n");
  // An empty remainder after the last CR LF is not a line.
  if (lines.back().empty()) lines.pop_back();
  // A dictionary sized for the lines at hand: one sized for a few hundred
  // codes takes thousands in a long chain of small segments, and every
  // lookup walks the chain.
  const auto expected = static_cast<std::int32_t>(std::min<std::size_t>(lines.size(), kMostEntriesPerMatch));
  if (expected > kDictionaryCapacity) dictionary.Reset(expected);
  legalEntries_.reserve(static_cast<std::size_t>(expected));
  std::int32_t invalidLines = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto line = readMaterialLine(lines[i], codec_);
    if (!line || line->text.empty() || line->code.empty()) continue;
    if (!isValidCode(line->code)) {
      show(kLineErrorCaption, lineErrorText(static_cast<std::int32_t>(i + 1), lines[i]));
      if (++invalidLines == kMostInvalidLines) {
        show(kMaterialErrorCaption, std::string(kTooManyInvalidLines));
        return false;
      }
      continue;
    }
    const std::int32_t added = dictionary.AddText(line->code, line->text);
    if (added == AddTextKeyPresent) continue;  // the first line with a code wins
    if (added != AddTextAdded) {
      show(kMaterialErrorCaption, std::string(kMaterialNoMemory));
      return false;
    }
    legalEntries_.push_back({std::move(line->text), std::move(line->note), chordCountOf(line->code), line->code});
  }
  if (legalCount() < kFewestLegalEntries) {
    show(kLineErrorCaption, std::string(kTooFewLegalEntries));
    return false;
  }
  fillEntries(std::clamp(n, 0, kMostEntriesPerMatch));
  return true;
}

void MaterialSet::fillEntries(std::int32_t n) {
  // Position k plays list entry order[k], where the list is the legal
  // entries repeated in turn up to n entries: a uniform random permutation
  // of 0..n-1 (Fisher-Yates), each number folded onto the legal entries.
  entries_.resize(static_cast<std::size_t>(n));
  for (std::int32_t k = 0; k < n; ++k) entries_[static_cast<std::size_t>(k)] = k;
  for (std::int32_t k = n - 1; k > 0; --k) {
    const auto j = static_cast<std::size_t>(randomBelow(random_, static_cast<std::uint64_t>(k) + 1));
    std::swap(entries_[static_cast<std::size_t>(k)], entries_[j]);
  }
  for (std::int32_t& index : entries_) index %= legalCount();
}

const MaterialEntry* MaterialSet::entryAt(std::int32_t position) const {
  if (position < 1 || position > Count()) return nullptr;
  return &legalEntries_[static_cast<std::size_t>(entries_[static_cast<std::size_t>(position - 1)])];
}

bool MaterialSet::GetEntry(std::int32_t position, MaterialEntry& entry) const {
  entry.text.clear();
  entry.note.clear();
  entry.code.clear();
  const MaterialEntry* found = entryAt(position);
  if (!found) return false;
  entry = *found;
  return true;
}

bool MaterialSet::Matches(std::int32_t position, std::string_view keyName, std::string_view chordText) const {
  const MaterialEntry* entry = entryAt(position);
  if (!entry) return false;
  return dictionary.LookupText(keyName) == entry->text || dictionary.LookupText(chordText) == entry->text;
}

std::int32_t MaterialSet::ChordCount(std::int32_t position) const {
  const MaterialEntry* entry = entryAt(position);
  return entry ? entry->chordCount : 0;
}

std::string_view MaterialSet::AnswerCode(std::int32_t position) const {
  const MaterialEntry* entry = entryAt(position);
  return entry ? std::string_view(entry->code) : std::string_view();
}

void MaterialSet::show(std::string_view caption, std::string text) const {
  if (!messages_) return;
  MessageRequest request;
  request.caption = std::string(caption);
  request.text = std::move(text);
  messages_->show(request);
}

}  // namespace qiru
