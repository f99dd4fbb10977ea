// The interrupt report and the link test frame, pinned byte by byte: what a
// machine sends for each chord, in both report lengths.

#include "device/report_layout.h"

#include <gtest/gtest.h>

#include "tests/device/chord_keys.h"
#include "tests/device/report_bytes.h"

namespace qiru {
namespace {

using testing::hexOf;
using testing::keysOf;
using testing::reportBytes;

// Bytes 1-4 of a report for each chord. Keys 1-13 are the right hand,
// keys 14-26 the left; key k is bit (k-1) mod 8 of K[(k-1) div 8]; a long
// report carries K1 K2 K3 K0, a short one K3 K2 K1 K0.
TEST(ReportLayout, KeyBytesOfEachLength) {
  struct Case {
    std::string_view chord, longReport, shortReport;
  };
  const Case cases[] = {
      {":", "07 FF FF FF FF", "05 FF FF FF FF"},
      {":R", "07 FF FF FF FE", "05 FF FF FF FE"},   // key 1: K0 bit 0
      {":O", "07 FE FF FF FF", "05 FF FF FE FF"},   // key 9: K1 bit 0
      {":I", "07 EF FF FF FF", "05 FF FF EF FF"},   // key 13: K1 bit 4
      {"R:", "07 DF FF FF FF", "05 FF FF DF FF"},   // key 14: K1 bit 5
      {"D:", "07 FF FF FE FF", "05 FE FF FF FF"},   // key 25: K3 bit 0
      {"I:", "07 FF FF FD FF", "05 FD FF FF FF"},   // key 26: K3 bit 1
      {"BA:FL", "07 7F 7F FF 9F", "05 FF 7F 7F 9F"},  // keys 6, 7, 16, 24
      {"RHANVFLUOGBDI:RHANVFLUOGBDI", "07 00 00 FC 00", "05 FC 00 00 00"},
  };
  for (const Case& c : cases) {
    for (const auto& [length, expected] : {std::pair{kLongReportLength, c.longReport}, {kShortReportLength, c.shortReport}}) {
      InterruptData data{};
      data[0] = static_cast<std::uint8_t>(length);
      placeKeyBytes(length, keyBytesFor(keysOf(c.chord)), data.data());
      EXPECT_EQ(hexOf(data.data(), 5), expected) << c.chord << " in a report of length " << length;

      const auto keys = keyBytesOf(reportBytes(expected).data());
      ASSERT_TRUE(keys.has_value()) << expected;
      const PressedKeys pressed = pressedKeysOf(*keys);
      EXPECT_EQ(pressed.left, keysOf(c.chord).left) << expected;
      EXPECT_EQ(pressed.right, keysOf(c.chord).right) << expected;
    }
  }
}

TEST(ReportLayout, OtherLengthsHaveNoKeyLayout) {
  for (const std::string_view hex : {"06 FE FF FF FF", "08 FE FF FF FF", "03 00 00 00 00"}) {
    EXPECT_FALSE(keyBytesOf(reportBytes(hex).data()).has_value()) << hex;
  }
}

TEST(ReportLayout, SelfReportIsLittleEndianInBytes5To7) {
  EXPECT_EQ(selfReportOf(reportBytes("07 FF FF FF FF 39 30 00").data()), 12345u);
  EXPECT_EQ(selfReportOf(reportBytes("07 FF FF FF FF 85 BF 82").data()), kSecondNumberBase + 180101);
  InterruptData data{};
  placeSelfReport(kSecondNumberBase + 180101, data.data());
  EXPECT_EQ(hexOf(data.data()), "00 00 00 00 00 85 BF 82");
}

// Only reply bytes 0, 2 and 3 count: they must be the complements of the
// frame's 91 .. 5A 96.
TEST(ReportLayout, TestFrameReply) {
  struct Case {
    std::string_view reply;
    bool answers;
  };
  const Case cases[] = {
      {"6E 91 A5 69 0C B3 C6", true},  // every byte complemented
      {"6E 00 A5 69 00 00 00", true},  // the bytes not looked at may be anything
      {"91 6E 5A 96 F3 4C 39", false},  // the frame echoed
      {"6E 91 A5 68 0C B3 C6", false},  // byte 3 off by one bit
      {"00 00 00 00 00 00 00", false},
  };
  for (const Case& c : cases) EXPECT_EQ(answersTestFrame(reportBytes(c.reply).data()), c.answers) << c.reply;
}

}  // namespace
}  // namespace qiru
