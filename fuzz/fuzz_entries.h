#pragma once
// The entry points the fuzzers drive: each takes arbitrary bytes through one
// of the program's readers of outside input, as the program would, and
// aborts (through a failed check) when a reader answers something that
// contradicts itself. The libFuzzer programs (built with -DQIRU_FUZZ=ON)
// call them, and so does the test that replays the inputs the fuzzers once
// crashed on, in every build.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace qiru::fuzz {

using FuzzEntry = void (*)(std::span<const std::uint8_t> bytes);

// A material file's bytes (GBK) read and parsed for a match.
void materialParser(std::span<const std::uint8_t> bytes);
// A fingering scheme text (GBK) loaded with the built-in dictionary.
void schemeLoader(std::span<const std::uint8_t> bytes);
// A syllable dictionary block, and the same bytes as a compressed block.
void dictionaryBlock(std::span<const std::uint8_t> bytes);
// The byte form of the code dictionary's hash index.
void hashIndexForm(std::span<const std::uint8_t> bytes);
// The byte form of the code dictionary's text pool.
void textPoolForm(std::span<const std::uint8_t> bytes);
// A report log as qiru-steno replay reads it.
void reportLog(std::span<const std::uint8_t> bytes);
// Chord notation as materials and options write it.
void chordNotation(std::span<const std::uint8_t> bytes);
// A machine's interrupt reports, each after a gap, through the report queue,
// chord capture and decoding, polled as the reader thread polls.
void interruptStream(std::span<const std::uint8_t> bytes);

struct NamedFuzzEntry {
  std::string_view name;  // also the folder of its seeds and kept inputs
  FuzzEntry entry;
};

inline constexpr NamedFuzzEntry kFuzzEntries[] = {
    {"material_parser", materialParser}, {"scheme_loader", schemeLoader},
    {"dictionary_block", dictionaryBlock}, {"hash_index", hashIndexForm},
    {"text_pool", textPoolForm},         {"report_log", reportLog},
    {"chord_notation", chordNotation},   {"interrupt_stream", interruptStream},
};

}  // namespace qiru::fuzz
