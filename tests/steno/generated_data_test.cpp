// Every file of data/ must be exactly what its generator writes today, so
// that a change of a generator cannot silently leave stale data behind.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "materials/utf8_path.h"
#include "tools/datagen/generated_files.h"

namespace qiru {
namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(pathFromUtf8(path), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(GeneratedData, CommittedFilesMatchTheirGenerators) {
  for (const auto& file : datagen::kGeneratedFiles) {
    const std::string path = std::string(QIRU_SOURCE_DIR) + "/data/" + std::string(file.name);
    const std::string committed = readFile(path);
    ASSERT_FALSE(committed.empty()) << path << " is missing";
    EXPECT_TRUE(committed == file.generate())
        << path << " differs from its generator; run scripts/regenerate-data.sh and commit the result";
  }
}

}  // namespace
}  // namespace qiru
