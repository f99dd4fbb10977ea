#pragma once
// Which USB devices are stenotype machines: the vendor and product IDs of
// the CH375/CH372 chip in its built-in firmware mode, and any more that the
// user names for a machine whose maker programmed its own IDs.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qiru {

struct UsbId {
  std::uint16_t vendor = 0;
  std::uint16_t product = 0;
  friend bool operator==(const UsbId&, const UsbId&) = default;
};

// The chip's IDs: WCH's old vendor ID 4348 and its current one 1A86, both
// with product 5537.
inline constexpr UsbId kCh375Ids[] = {{0x4348, 0x5537}, {0x1A86, 0x5537}};

// The chip's IDs followed by the extra ones, without repeats.
std::vector<UsbId> machineIdsWith(std::span<const UsbId> extra);

// "VVVV:PPPP", four hexadecimal digits each, either case (as lsusb shows
// them); none for anything else.
std::optional<UsbId> parseUsbId(std::string_view text);
// What --usb-id says of a text that is not such an ID.
std::string badUsbIdText(std::string_view given);
// The same form, lower case, as udev and lsusb write it.
std::string formatUsbId(UsbId id);

bool isMachineId(std::span<const UsbId> ids, UsbId id);

}  // namespace qiru
