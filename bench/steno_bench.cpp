#include <benchmark/benchmark.h>

#include <unordered_map>
#include <vector>

#include "steno/builtin_scheme.h"
#include "steno/chord_decoder.h"

namespace qiru {
namespace {

const FingeringScheme& loadedScheme() {
  static const FingeringScheme* scheme = [] {
    auto* loaded = new FingeringScheme;
    loadFingeringScheme(*loaded, builtinFingeringSchemeText(), builtinSyllableDictionaryBlock(), nullptr);
    return loaded;
  }();
  return *scheme;
}

// Start-up cost: restoring the dictionary and parsing the whole scheme.
void BM_LoadFingeringScheme(benchmark::State& state) {
  for (auto _ : state) {
    FingeringScheme scheme;
    loadFingeringScheme(scheme, builtinFingeringSchemeText(), builtinSyllableDictionaryBlock(), nullptr);
    benchmark::DoNotOptimize(scheme.schemeTextPool.count());
  }
}
BENCHMARK(BM_LoadFingeringScheme)->Unit(benchmark::kMillisecond);

// A mix of what players strike: two-syllable chords, special codes,
// function keys, one-hand syllables and chords no table knows.
std::vector<TwoAreaCode> chordMix() {
  const ChordCodec codec;
  std::vector<TwoAreaCode> mix;
  for (std::string_view chord : {"BA:FL", "BOG:IBDNG", "FL:", ":I", "IFL:IFL", "B:B", ":UO", "F:I",
                                 "RHNV:", "DHNV:RVG", "IBDAN:", ":RHIA", "RNO:", "BDR:IUO", "HLO:DLO",
                                 "AUI:A"}) {
    mix.push_back(codec.twoAreaCodeOf(chord));
  }
  return mix;
}

void BM_DecodeChord(benchmark::State& state) {
  const FingeringScheme& scheme = loadedScheme();
  const auto mix = chordMix();
  std::string codeText;
  std::size_t i = 0;
  for (auto _ : state) {
    const TwoAreaCode code = mix[i++ % mix.size()];
    benchmark::DoNotOptimize(decodeChord(scheme, leftKeySetOf(code), rightKeySetOf(code), code, codeText));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DecodeChord);

// The syllable map as the decoder meets it: 479 chords cascaded over
// several 157-slot segments, asked for every one-hand key set (most of them
// absent, as when a chord falls through to the next table). The same pairs
// in std::unordered_map give the comparison.
constexpr std::int32_t kAllKeySets = 8191;

void BM_CodeMapGet(benchmark::State& state) {
  const CodeMap& map = loadedScheme().syllableMap;
  std::int32_t key = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(map.get(key % kAllKeySets + 1));
    ++key;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CodeMapGet);

void BM_UnorderedMapGet(benchmark::State& state) {
  std::unordered_map<std::int32_t, std::int32_t> map;
  for (std::int32_t keySet = 1; keySet <= kAllKeySets; ++keySet) {
    if (const auto value = loadedScheme().syllableMap.get(keySet); value > 0) map.emplace(keySet, value);
  }
  std::int32_t key = 0;
  for (auto _ : state) {
    const auto it = map.find(key % kAllKeySets + 1);
    benchmark::DoNotOptimize(it == map.end() ? kAbsentValue : it->second);
    ++key;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UnorderedMapGet);

}  // namespace
}  // namespace qiru
