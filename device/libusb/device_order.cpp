#include "device/libusb/device_order.h"

#include <algorithm>

namespace qiru {

std::string describeLocation(const UsbLocation& location) {
  std::string text = std::to_string(location.bus);
  char separator = '-';
  for (const std::uint8_t port : location.ports) {
    text += separator;
    text += std::to_string(port);
    separator = '.';
  }
  return text;
}

std::vector<std::optional<UsbLocation>> devicesForIndexes(std::vector<UsbLocation> present,
                                                          std::span<const std::optional<UsbLocation>> held) {
  std::ranges::sort(present);
  std::erase_if(present, [&held](const UsbLocation& device) { return std::ranges::find(held, device) != held.end(); });
  std::vector<std::optional<UsbLocation>> reached(held.begin(), held.end());
  auto next = present.begin();
  for (auto& slot : reached) {
    if (slot || next == present.end()) continue;
    slot = *next++;
  }
  return reached;
}

}  // namespace qiru
