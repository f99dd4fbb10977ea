// qiru-fuzz-seeds DIR: writes seed inputs for the fuzzers whose inputs are
// byte forms the program makes itself (the hash index, the text pool, a
// machine's interrupt reports), into DIR/<fuzzer>/, made by the program's
// own writers so that they always follow the current forms.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "device/report_layout.h"
#include "steno/chord_codec.h"
#include "support/hash_index.h"
#include "support/text_pool.h"

namespace {

namespace fs = std::filesystem;
using namespace qiru;

constexpr std::string_view kSeedTexts[] = {"BA:FL", "中国", "北京", "", "A:", "xyz"};
// Chords a player strikes, each pressed, held and let go.
constexpr std::string_view kSeedChords[] = {"BA:FL", "A:", ":I", "F:I", "XBDZ:GWIE"};
constexpr std::uint8_t kHoldMs = 30;
constexpr std::uint8_t kGapMs = 120;

void writeSeed(const fs::path& folder, const std::string& name, std::string_view bytes) {
  fs::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string interruptRecord(std::uint8_t gapMs, int length, PressedKeys keys) {
  InterruptData data{static_cast<std::uint8_t>(length)};
  placeKeyBytes(length, keyBytesFor(keys), data.data());
  std::string record(1, static_cast<char>(gapMs));
  record.append(reinterpret_cast<const char*>(data.data()), data.size());
  return record;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: qiru-fuzz-seeds DIR\n");
    return 2;
  }
  const fs::path root = argv[1];
  HashIndex index;
  TextPool pool;
  for (int count = 1; count <= static_cast<int>(std::size(kSeedTexts)); ++count) {
    index.put(kSeedTexts[count - 1], count);
    pool.append(kSeedTexts[count - 1]);
    writeSeed(root / "hash_index", "index" + std::to_string(count), index.serialise());
    writeSeed(root / "text_pool", "pool" + std::to_string(count), pool.serialise());
  }
  const ChordCodec codec;
  std::string stream;
  for (const int length : {kShortReportLength, kLongReportLength}) {
    for (const std::string_view chord : kSeedChords) {
      const TwoAreaCode code = codec.twoAreaCodeOf(chord);
      stream += interruptRecord(kGapMs, length, {.right = rightKeySetOf(code), .left = leftKeySetOf(code)});
      stream += interruptRecord(kHoldMs, length, {});
    }
    writeSeed(root / "interrupt_stream", "chords" + std::to_string(length), stream);
  }
  return 0;
}
