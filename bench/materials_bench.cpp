#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "materials/material_set.h"
#include "materials/md5.h"

namespace qiru {
namespace {

// The chord of line i of the material below, in canonical notation.
std::string codeOf(int i) {
  const ChordCodec codec;
  return codec.lettersOf(1 + i % 97 * 41 % 8191) + ":" + codec.lettersOf(1 + i * 13 % 8191);
}

// A material of `lines` two-hand chords, all different (up to 794,000),
// with notes.
std::string distinctLines(int lines) {
  std::string text;
  for (int i = 1; i <= lines; ++i) {
    text += "条目" + std::to_string(i) + "\t" + codeOf(i) + "\t提示" + std::to_string(i) + "\r\n";
  }
  return text;
}

std::string fiveHundredLines() { return distinctLines(500); }

// A 30-minute timed race: 9,000 entries from a 500-line material.
void BM_ParseTimedRace(benchmark::State& state) {
  const std::string text = fiveHundredLines();
  MaterialSet set;
  for (auto _ : state) {
    if (!set.Parse(text, 9000)) state.SkipWithError("the material did not parse");
    benchmark::DoNotOptimize(set.Count());
  }
}
BENCHMARK(BM_ParseTimedRace)->Unit(benchmark::kMillisecond);

// A large material read whole, as qiru-steno check reads it: parsing
// stays linear in the number of lines (the 200,000-line case within 300 ms).
void BM_ParseDistinctLines(benchmark::State& state) {
  const std::string text = distinctLines(static_cast<int>(state.range(0)));
  MaterialSet set;
  for (auto _ : state) {
    if (!set.Parse(text, 0)) state.SkipWithError("the material did not parse");
    benchmark::DoNotOptimize(set.legalCount());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseDistinctLines)->Arg(25'000)->Arg(200'000)->Unit(benchmark::kMillisecond)->MinTime(0.5);

// The answer check on the match worker, once per struck chord: the decoded
// output is no code of the material, the chord's code text is.
void BM_Matches(benchmark::State& state) {
  MaterialSet set;
  set.Parse(fiveHundredLines(), 9000);
  const std::string chordText = codeOf(250);
  std::int32_t position = 1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(set.Matches(position, "bei':jing'", chordText));
    position = position % 9000 + 1;
  }
}
BENCHMARK(BM_Matches);

// The import's duplicate check over a 100 MiB file (from the page cache).
void BM_FileMd5(benchmark::State& state) {
  constexpr std::size_t kFileBytes = std::size_t{100} << 20;
  const auto path = std::filesystem::temp_directory_path() / "qiru-materials-bench-md5.bin";
  {
    std::ofstream out(path, std::ios::binary);
    std::string block(1 << 20, '\0');
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 131 % 251);
    for (std::size_t written = 0; written < kFileBytes; written += block.size()) out << block;
  }
  for (auto _ : state) {
    if (fileMd5(path).empty()) state.SkipWithError("the file could not be read");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileBytes));
  std::filesystem::remove(path);
}
BENCHMARK(BM_FileMd5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qiru
