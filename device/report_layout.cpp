#include "device/report_layout.h"

namespace qiru {

namespace {

// Where K0..K3 sit in the report, by report length: K[i] is the report byte
// at position i of the list.
constexpr std::array<std::size_t, 4> kLongReportKeyBytes = {4, 1, 2, 3};
constexpr std::array<std::size_t, 4> kShortReportKeyBytes = {4, 3, 2, 1};

const std::array<std::size_t, 4>* keyByteSourcesFor(int length) {
  if (length == kLongReportLength) return &kLongReportKeyBytes;
  if (length == kShortReportLength) return &kShortReportKeyBytes;
  return nullptr;
}

constexpr std::uint32_t kMachineKeyBits = (1u << kMachineKeyCount) - 1;

}  // namespace

std::optional<KeyBytes> keyBytesOf(const std::uint8_t* data) {
  const auto* sources = keyByteSourcesFor(data[0]);
  if (sources == nullptr) return std::nullopt;
  KeyBytes keys;
  for (std::size_t i = 0; i < keys.size(); ++i) keys[i] = data[(*sources)[i]];
  return keys;
}

void placeKeyBytes(int length, const KeyBytes& keys, std::uint8_t* data) {
  const auto* sources = keyByteSourcesFor(length);
  if (sources == nullptr) return;
  for (std::size_t i = 0; i < keys.size(); ++i) data[(*sources)[i]] = keys[i];
}

PressedKeys pressedKeysOf(const KeyBytes& keys) {
  // Key k is bit k-1 of K0..K3 read as one little-endian word.
  const std::uint32_t released = static_cast<std::uint32_t>(keys[0]) | static_cast<std::uint32_t>(keys[1]) << 8 |
                                 static_cast<std::uint32_t>(keys[2]) << 16 | static_cast<std::uint32_t>(keys[3]) << 24;
  const std::uint32_t pressed = ~released & kMachineKeyBits;
  return {static_cast<std::int32_t>(pressed & kAreaKeyMask),
          static_cast<std::int32_t>((pressed >> kKeysPerArea) & kAreaKeyMask)};
}

KeyBytes keyBytesFor(PressedKeys keys) {
  const std::uint32_t pressed = (static_cast<std::uint32_t>(keys.right) & kAreaKeyMask) |
                                (static_cast<std::uint32_t>(keys.left) & kAreaKeyMask) << kKeysPerArea;
  const std::uint32_t released = ~pressed;
  return {static_cast<std::uint8_t>(released), static_cast<std::uint8_t>(released >> 8),
          static_cast<std::uint8_t>(released >> 16), static_cast<std::uint8_t>(released >> 24)};
}

std::uint32_t selfReportOf(const std::uint8_t* data) {
  return static_cast<std::uint32_t>(data[5]) | static_cast<std::uint32_t>(data[6]) << 8 |
         static_cast<std::uint32_t>(data[7]) << 16;
}

void placeSelfReport(std::uint32_t value, std::uint8_t* data) {
  data[5] = static_cast<std::uint8_t>(value);
  data[6] = static_cast<std::uint8_t>(value >> 8);
  data[7] = static_cast<std::uint8_t>(value >> 16);
}

bool answersTestFrame(const std::uint8_t* reply) {
  for (const std::size_t at : kCheckedReplyBytes) {
    if (reply[at] != static_cast<std::uint8_t>(~kTestFrame[at])) return false;
  }
  return true;
}

}  // namespace qiru
