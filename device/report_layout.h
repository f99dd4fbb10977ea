#pragma once
// What travels between a stenotype machine and the program, shared by every
// backend: the link test frame and its reply, and the interrupt report.
//
// Interrupt report (the first kInterruptDataBytes bytes of the data block):
//   byte 0     report length; below 5 the report carries no keys
//   bytes 1-4  key state, one bit per key, 0 = pressed (active low); which
//              byte holds which keys depends on the length (keyBytesOf)
//   bytes 5-7  a 24-bit self-report, least significant byte first: the
//              machine number, or kSecondNumberBase + the second number
//
// Keys are numbered 1 to 26: key k is bit (k-1) mod 8 of key byte
// K[(k-1) div 8]. Keys 1-13 are the right hand's keys and keys 14-26 the
// left hand's, each hand in the order of the key names RHANVFLUOGBDI.

#include <array>
#include <cstdint>
#include <optional>

namespace qiru {

inline constexpr std::size_t kInterruptDataBytes = 8;
using InterruptData = std::array<std::uint8_t, kInterruptDataBytes>;

// Report lengths (byte 0). Shorter reports carry no keys and are not queued.
inline constexpr int kMinKeyReportLength = 5;
inline constexpr int kShortReportLength = 5;
inline constexpr int kLongReportLength = 7;

inline constexpr int kKeysPerArea = 13;
inline constexpr int kMachineKeyCount = 26;
inline constexpr std::int32_t kAreaKeyMask = 0x1FFF;

// The four key bytes K0..K3 in key-number order, active low.
using KeyBytes = std::array<std::uint8_t, 4>;
inline constexpr KeyBytes kNoKeyPressed = {0xFF, 0xFF, 0xFF, 0xFF};

// K0..K3 taken from report bytes 1-4 as the report's own length lays them
// out; none for a length whose layout is unknown.
std::optional<KeyBytes> keyBytesOf(const std::uint8_t* data);
// The inverse, as a machine sends them: key bytes into report bytes 1-4 for
// a report of that length (5 or 7).
void placeKeyBytes(int length, const KeyBytes& keys, std::uint8_t* data);

// The pressed keys as two 13-key sets: the right hand (keys 1-13) and the
// left hand (keys 14-26), each with bit i-1 for the hand's i-th key name.
struct PressedKeys {
  std::int32_t right = 0;
  std::int32_t left = 0;
};
PressedKeys pressedKeysOf(const KeyBytes& keys);
KeyBytes keyBytesFor(PressedKeys keys);

// Bytes 5-7. A machine reports its machine number as is and its second
// number above kSecondNumberBase.
inline constexpr std::uint32_t kSecondNumberBase = 0x800000;
inline constexpr std::uint32_t kMaxSelfReport = 0xFFFFFF;
std::uint32_t selfReportOf(const std::uint8_t* data);
void placeSelfReport(std::uint32_t value, std::uint8_t* data);

// The link test: the program writes the frame; a machine that works answers
// with kTestReplyBytes bytes of which bytes 0, 2 and 3 are the complements
// of the frame's (the others are not looked at).
inline constexpr std::size_t kTestFrameBytes = 7;
inline constexpr std::array<std::uint8_t, kTestFrameBytes> kTestFrame = {0x91, 0x6E, 0x5A, 0x96, 0xF3, 0x4C, 0x39};
inline constexpr std::size_t kTestReplyBytes = 7;
inline constexpr std::array<std::size_t, 3> kCheckedReplyBytes = {0, 2, 3};
// The buffer the program reads the reply into.
inline constexpr std::size_t kReadBufferBytes = 64;

// Whether a reply of kTestReplyBytes bytes answers kTestFrame.
bool answersTestFrame(const std::uint8_t* reply);

}  // namespace qiru
