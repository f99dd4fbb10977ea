// The libusb backend's decisions that need no USB device: which devices are
// machines, which machine each device index reaches, which endpoints carry
// what, and what the user is told. The transfers themselves are tested
// against fake devices under umockdev.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "device/libusb/device_order.h"
#include "device/libusb/endpoints.h"
#include "device/libusb/libusb_ch375.h"
#include "device/libusb/usb_ids.h"
#include "device/libusb/usb_messages.h"

namespace qiru {
namespace {

TEST(UsbIds, ParsesTheFormLsusbShowsAndRejectsEverythingElse) {
  struct Case {
    const char* text;
    std::optional<UsbId> id;
  };
  const Case cases[] = {
      {"1a86:5537", UsbId{0x1A86, 0x5537}},
      {"1A86:5537", UsbId{0x1A86, 0x5537}},
      {"0000:ffff", UsbId{0x0000, 0xFFFF}},
      {"4348:5537", UsbId{0x4348, 0x5537}},
      {"1a86", std::nullopt},
      {"1a86:", std::nullopt},
      {":5537", std::nullopt},
      {"1a86:553", std::nullopt},
      {"1a86:55370", std::nullopt},
      {"01a86:5537", std::nullopt},
      {"1a86-5537", std::nullopt},
      {"1g86:5537", std::nullopt},
      {"+a86:5537", std::nullopt},
      {"1a86:5537:0001", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(parseUsbId(c.text), c.id) << '"' << c.text << '"';
}

TEST(UsbIds, FormatsAsUdevWritesThemAndReadsBack) {
  EXPECT_EQ(formatUsbId({0x1A86, 0x5537}), "1a86:5537");
  EXPECT_EQ(formatUsbId({0x0001, 0x000A}), "0001:000a");
  EXPECT_EQ(parseUsbId(formatUsbId({0xBEEF, 0x0042})), (UsbId{0xBEEF, 0x0042}));
}

TEST(UsbIds, TheChipsIdsComeFirstAndExtraIdsAreAddedOnce) {
  const UsbId extra[] = {{0x1234, 0x0001}, {0x1A86, 0x5537}, {0x1234, 0x0001}};
  const std::vector<UsbId> expected = {{0x4348, 0x5537}, {0x1A86, 0x5537}, {0x1234, 0x0001}};
  EXPECT_EQ(machineIdsWith(extra), expected);
  EXPECT_TRUE(isMachineId(expected, {0x1234, 0x0001}));
  EXPECT_FALSE(isMachineId(expected, {0x1A86, 0x7523})) << "a CH340 serial adapter is not a machine";
}

UsbLocation at(std::uint8_t bus, std::vector<std::uint8_t> ports) { return {bus, std::move(ports)}; }

TEST(DeviceOrder, DescribesALocationAsTheKernelNamesIt) {
  EXPECT_EQ(describeLocation(at(1, {2})), "1-2");
  EXPECT_EQ(describeLocation(at(3, {1, 4, 2})), "3-1.4.2");
  EXPECT_EQ(describeLocation(at(2, {})), "2");
}

TEST(DeviceOrder, EachIndexReachesTheMachineItShould) {
  using Slots = std::vector<std::optional<UsbLocation>>;
  struct Case {
    const char* what;
    std::vector<UsbLocation> present;
    Slots held;
    Slots reached;
  };
  const UsbLocation a = at(1, {2});
  const UsbLocation b = at(1, {3});
  const UsbLocation c = at(2, {1});
  const UsbLocation hubbed = at(1, {2, 1});
  const Case cases[] = {
      {"none present", {}, Slots(2), Slots(2)},
      {"one machine goes to index 0", {b}, Slots(2), {b, std::nullopt}},
      {"by bus, then port path, whatever the listing order", {c, b, a}, Slots(2), {a, b}},
      {"a port path sorts after its prefix", {hubbed, b, a}, Slots(3), {a, hubbed, b}},
      {"lower bus first even on a higher port", {at(2, {1}), at(1, {9})}, Slots(2), {at(1, {9}), at(2, {1})}},
      {"an open machine keeps its index when another is plugged before it", {a, b}, {std::nullopt, b}, {a, b}},
      {"machine 1 replugged behind open machine 2 is index 0 again", {b, c}, {std::nullopt, b}, {c, b}},
      {"index 1 opened first still reaches the second machine", {a, b}, {a, std::nullopt}, {a, b}},
      {"a held machine that is gone keeps its index taken", {a}, {std::nullopt, c}, {a, c}},
      {"more machines than indexes", {a, b, c}, Slots(2), {a, b}},
  };
  for (const Case& c : cases) EXPECT_EQ(devicesForIndexes(c.present, c.held), c.reached) << c.what;
}

// Endpoint descriptors as the chip's built-in firmware gives them, and
// variants of it.
constexpr std::uint8_t kBulk = 0x02;
constexpr std::uint8_t kInterrupt = 0x03;

TEST(Endpoints, TakenFromTheDescriptorsWithTheChipsAddressesForWhatIsMissing) {
  struct Case {
    const char* what;
    std::vector<EndpointInfo> descriptors;
    Ch375Endpoints expected;
  };
  const Case cases[] = {
      {"the chip's own", {{0x82, kBulk, 64}, {0x02, kBulk, 64}, {0x81, kInterrupt, 8}}, {0x02, 0x82, 0x81, 8}},
      {"none described", {}, {0x02, 0x82, 0x81, 8}},
      {"other addresses", {{0x03, kBulk, 64}, {0x84, kBulk, 64}, {0x85, kInterrupt, 16}}, {0x03, 0x84, 0x85, 16}},
      {"the first of each kind", {{0x04, kBulk, 64}, {0x05, kBulk, 64}, {0x86, kInterrupt, 8}, {0x87, kInterrupt, 8}},
       {0x04, 0x82, 0x86, 8}},
      {"an interrupt OUT endpoint is no report source", {{0x01, kInterrupt, 8}}, {0x02, 0x82, 0x81, 8}},
      {"a bulk IN endpoint is no OUT endpoint", {{0x83, kBulk, 64}}, {0x02, 0x83, 0x81, 8}},
      {"a packet below a report block asks for a whole block", {{0x81, kInterrupt, 4}}, {0x02, 0x82, 0x81, 8}},
  };
  for (const Case& c : cases) EXPECT_EQ(ch375EndpointsOf(c.descriptors), c.expected) << c.what;
}

TEST(UsbMessages, SayWhichMachineAndWhatToDo) {
  const UsbId id{0x1A86, 0x5537};
  const UsbLocation location = at(1, {4, 2});
  const std::string denied = permissionDeniedText(id, location, "/usr/lib/udev/rules.d/70-qiru-pk.rules");
  for (const char* part : {"1a86:5537", "1-4.2", "/usr/lib/udev/rules.d/70-qiru-pk.rules", "没有使用该设备的权限", "udevadm control --reload", "重新插上"}) {
    EXPECT_NE(denied.find(part), std::string::npos) << part << " missing from: " << denied;
  }
  const std::string busy = deviceBusyText(id, location);
  for (const char* part : {"1a86:5537", "1-4.2", "其他程序占用"}) {
    EXPECT_NE(busy.find(part), std::string::npos) << part << " missing from: " << busy;
  }
}

// Without a machine the backend answers as the library does for an absent
// device, and starts and stops its threads without hanging. IDs no device
// carries keep a machine on the desk out of it.
TEST(LibusbCh375, WithoutAMachineEveryIndexIsAbsent) {
  std::optional<LibusbCh375> library;
  try {
    library.emplace(LibusbCh375Options{.ids = {{0x0000, 0x0000}}, .udevRulePath = "", .report = {}});
  } catch (const std::exception& error) {
    GTEST_SKIP() << error.what();
  }
  EXPECT_EQ(library->presentMachines(), 0);
  for (const int index : {-1, 0, 1, kLibusbDeviceSlots}) {
    EXPECT_EQ(library->openDevice(index), kCh375InvalidHandle) << index;
    std::uint8_t buffer[64] = {};
    std::uint32_t length = sizeof buffer;
    EXPECT_EQ(library->readData(index, buffer, length), 0) << index;
    EXPECT_EQ(length, sizeof buffer) << "a failed read reports no bytes received";
    EXPECT_EQ(library->writeData(index, buffer, length), 0) << index;
    EXPECT_EQ(library->resetDevice(index), 0) << index;
    EXPECT_EQ(library->setIntRoutine(index, [](const std::uint8_t*) {}), 0) << index;
    library->closeDevice(index);
  }
  EXPECT_EQ(library->setIntRoutine(0, {}), 1) << "removing the routine of a closed device is no failure";
}

}  // namespace
}  // namespace qiru
