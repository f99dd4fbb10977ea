#pragma once
// Which USB machine a device index reaches. Machines are taken in a stable
// order, by bus number and then by the path of hub ports that leads to
// them, so that machine 1 stays machine 1 as long as the cables stay where
// they are. A machine that a device index holds open stays with that index
// whatever comes and goes beside it: when machine 1 is unplugged and plugged
// into another port while machine 2 is open, index 0 reaches machine 1 again
// and never machine 2.

#include <compare>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qiru {

// Where a device sits: its bus and the hub ports from the root hub down.
struct UsbLocation {
  std::uint8_t bus = 0;
  std::vector<std::uint8_t> ports;
  friend auto operator<=>(const UsbLocation&, const UsbLocation&) = default;
  friend bool operator==(const UsbLocation&, const UsbLocation&) = default;
};

// As the kernel names the device in sysfs ("1-2.4"), which is also what
// `lsusb -t` and dmesg show.
std::string describeLocation(const UsbLocation& location);

// The device each index reaches, one entry per entry of `held`. `held[i]`
// is the device that index i holds open, if any; it keeps it. The present
// devices that no index holds go, in order, to the indexes that hold none,
// lowest index first.
std::vector<std::optional<UsbLocation>> devicesForIndexes(std::vector<UsbLocation> present,
                                                          std::span<const std::optional<UsbLocation>> held);

}  // namespace qiru
