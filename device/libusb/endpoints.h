#pragma once
// The chip's endpoints. In its built-in firmware mode the CH375 has one
// interface with a bulk OUT endpoint (the test frame goes out there), a
// bulk IN endpoint (the reply comes back) and an interrupt IN endpoint (the
// key reports). The addresses are read from the device's descriptors; a
// device whose descriptors leave one out gets the chip's usual address.

#include <cstdint>
#include <span>

namespace qiru {

// One endpoint descriptor, as much of it as matters here.
struct EndpointInfo {
  std::uint8_t address = 0;     // bit 7 set = IN
  std::uint8_t attributes = 0;  // bits 0-1: the transfer type
  std::uint16_t maxPacketBytes = 0;
};

struct Ch375Endpoints {
  std::uint8_t bulkOut = 0x02;
  std::uint8_t bulkIn = 0x82;
  std::uint8_t interruptIn = 0x81;
  // What one interrupt transfer asks for: a whole packet, so that the
  // device never sends more than was asked.
  std::uint16_t interruptPacketBytes = 8;
  friend bool operator==(const Ch375Endpoints&, const Ch375Endpoints&) = default;
};

// The first endpoint of each kind, the usual address for a kind not there.
Ch375Endpoints ch375EndpointsOf(std::span<const EndpointInfo> endpoints);

}  // namespace qiru
