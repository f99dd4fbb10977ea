// Every input a fuzzer has failed on (fuzz/kept/<fuzzer>/, kept by
// scripts/fuzz.sh) and every committed seed goes through the same entry, in
// every build: a fault once found stays found. An entry aborts on a failed
// check, which fails this test.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_entries.h"
#include "materials/utf8_path.h"

namespace qiru::fuzz {
namespace {

namespace fs = std::filesystem;

const fs::path kFuzzFolder = fs::path(QIRU_SOURCE_DIR) / "fuzz";

std::vector<std::uint8_t> bytesOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The data files a fuzzer starts from, beside its committed seeds.
std::vector<fs::path> dataSeedsOf(std::string_view name) {
  const fs::path data = fs::path(QIRU_SOURCE_DIR) / "data";
  if (name == "scheme_loader") return {data / "fingering_scheme.txt"};
  if (name == "dictionary_block") return {data / "syllable_dictionary.bin"};
  if (name != "material_parser") return {};
  std::vector<fs::path> materials;
  for (const auto& item : fs::recursive_directory_iterator(data / pathFromUtf8("比赛题库"))) {
    if (item.is_regular_file()) materials.push_back(item.path());
  }
  return materials;
}

std::vector<fs::path> inputsOf(std::string_view name) {
  std::vector<fs::path> inputs = dataSeedsOf(name);
  for (const char* folder : {"seeds", "kept"}) {
    const fs::path dir = kFuzzFolder / folder / name;
    if (!fs::is_directory(dir)) continue;
    for (const auto& item : fs::directory_iterator(dir)) inputs.push_back(item.path());
  }
  return inputs;
}

class FuzzInputs : public ::testing::TestWithParam<NamedFuzzEntry> {};

TEST_P(FuzzInputs, EveryKeptInputAndSeedPassesTheEntry) {
  for (const fs::path& input : inputsOf(GetParam().name)) {
    SCOPED_TRACE(input.string());
    const std::vector<std::uint8_t> bytes = bytesOf(input);
    GetParam().entry(bytes);
  }
}

INSTANTIATE_TEST_SUITE_P(Entries, FuzzInputs, ::testing::ValuesIn(kFuzzEntries),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qiru::fuzz
