#include "device/libusb/usb_ids.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace qiru {

namespace {

constexpr std::size_t kIdDigits = 4;

std::optional<std::uint16_t> parseHexField(std::string_view digits) {
  if (digits.size() != kIdDigits) return std::nullopt;
  std::uint16_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
  if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

}  // namespace

std::vector<UsbId> machineIdsWith(std::span<const UsbId> extra) {
  std::vector<UsbId> ids(std::begin(kCh375Ids), std::end(kCh375Ids));
  for (const UsbId id : extra) {
    if (!isMachineId(ids, id)) ids.push_back(id);
  }
  return ids;
}

std::optional<UsbId> parseUsbId(std::string_view text) {
  const auto colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const auto vendor = parseHexField(text.substr(0, colon));
  const auto product = parseHexField(text.substr(colon + 1));
  if (!vendor || !product) return std::nullopt;
  return UsbId{*vendor, *product};
}

std::string badUsbIdText(std::string_view given) {
  return "--usb-id takes a vendor and product ID as lsusb shows them, four hex digits each (1a86:5537), not \"" +
         std::string(given) + "\"";
}

std::string formatUsbId(UsbId id) {
  char text[sizeof "vvvv:pppp"];
  std::snprintf(text, sizeof text, "%04x:%04x", id.vendor, id.product);
  return text;
}

bool isMachineId(std::span<const UsbId> ids, UsbId id) { return std::ranges::find(ids, id) != ids.end(); }

}  // namespace qiru
