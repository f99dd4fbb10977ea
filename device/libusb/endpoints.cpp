#include "device/libusb/endpoints.h"

#include <algorithm>
#include <optional>

namespace qiru {

namespace {

// USB transfer types (bits 0-1 of bmAttributes) and the IN direction bit.
constexpr std::uint8_t kTransferTypeMask = 0x03;
constexpr std::uint8_t kBulkTransfer = 0x02;
constexpr std::uint8_t kInterruptTransfer = 0x03;
constexpr std::uint8_t kDirectionIn = 0x80;

// A report block is 8 bytes; a packet size below that (a broken
// descriptor) would cut every report short.
constexpr std::uint16_t kMinInterruptPacketBytes = 8;

std::optional<EndpointInfo> firstOf(std::span<const EndpointInfo> endpoints, std::uint8_t type, bool in) {
  const auto found = std::ranges::find_if(endpoints, [&](const EndpointInfo& endpoint) {
    return (endpoint.attributes & kTransferTypeMask) == type && ((endpoint.address & kDirectionIn) != 0) == in;
  });
  if (found == endpoints.end()) return std::nullopt;
  return *found;
}

}  // namespace

Ch375Endpoints ch375EndpointsOf(std::span<const EndpointInfo> endpoints) {
  Ch375Endpoints chosen;
  if (const auto out = firstOf(endpoints, kBulkTransfer, false)) chosen.bulkOut = out->address;
  if (const auto in = firstOf(endpoints, kBulkTransfer, true)) chosen.bulkIn = in->address;
  if (const auto interrupt = firstOf(endpoints, kInterruptTransfer, true)) {
    chosen.interruptIn = interrupt->address;
    chosen.interruptPacketBytes = std::max(interrupt->maxPacketBytes, kMinInterruptPacketBytes);
  }
  return chosen;
}

}  // namespace qiru
