// File digests for the import's duplicate check: the RFC 1321 test suite,
// a file read in several pieces, and a file that cannot be read.

#include <gtest/gtest.h>

#include "materials/md5.h"
#include "temp_folder.h"

namespace qiru {
namespace {

TEST(FileMd5, Rfc1321TestSuite) {
  struct Case {
    std::string_view content, digest;
  };
  const Case cases[] = {
      {"", "D41D8CD98F00B204E9800998ECF8427E"},
      {"a", "0CC175B9C0F1B6A831C399E269772661"},
      {"abc", "900150983CD24FB0D6963F7D28E17F72"},
      {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
      {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57EDF4A22BE3C955AC49DA2E2107B67A"},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    EXPECT_EQ(fileMd5(folder.write("file.txt", c.content)), c.digest) << c.content;
  }
}

TEST(FileMd5, AFileOfSeveralPiecesIsDigestedWhole) {
  std::string bytes(3 * (1 << 20) + 7, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 31 % 251);
  TempFolder folder;
  EXPECT_EQ(fileMd5(folder.write("big.bin", bytes)), "57EE16E091396160BA4E45C3C6CB663C");
}

TEST(FileMd5, PieceSizeGrowsWithTheFile) {
  constexpr std::uintmax_t kMiB = 1 << 20;
  struct Case {
    std::uintmax_t fileBytes;
    std::size_t chunkBytes;
  };
  const Case cases[] = {
      {0, kMiB},          {11 * kMiB - 1, kMiB},          {11 * kMiB, 5 * kMiB},
      {50 * kMiB - 1, 5 * kMiB}, {50 * kMiB, 10 * kMiB}, {4000 * kMiB, 10 * kMiB},
  };
  for (const Case& c : cases) EXPECT_EQ(md5ChunkBytes(c.fileBytes), c.chunkBytes) << c.fileBytes;
}

TEST(FileMd5, NoDigestForWhatCannotBeRead) {
  TempFolder folder;
  EXPECT_EQ(fileMd5(folder.path() / "missing.txt"), "");
  EXPECT_EQ(fileMd5(folder.path()), "");
}

}  // namespace
}  // namespace qiru
