#include "tests/device/usb/fake_ch375_usb.h"

#include <linux/ioctl.h>
#include <linux/usbdevice_fs.h>
#include <sys/stat.h>
#include <umockdev.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <span>
#include <stdexcept>

namespace qiru::testing {
namespace {

// The chip's endpoints in its built-in firmware mode.
constexpr std::uint8_t kBulkOut = 0x02;
constexpr std::uint8_t kBulkIn = 0x82;
constexpr std::uint8_t kInterruptIn = 0x81;

char hexDigit(int value) { return "0123456789abcdef"[value & 0xF]; }

void appendHex(std::string& text, std::initializer_list<int> bytes) {
  for (const int byte : bytes) {
    text += hexDigit(byte >> 4);
    text += hexDigit(byte);
  }
}

// The descriptors the kernel shows in sysfs: device, configuration, one
// vendor-specific interface with the chip's three endpoints.
std::string descriptorsHex(UsbId id) {
  std::string hex;
  appendHex(hex, {0x12, 0x01, 0x10, 0x01, 0xFF, 0x00, 0x00, 0x08, id.vendor & 0xFF, id.vendor >> 8, id.product & 0xFF,
                  id.product >> 8, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01});
  appendHex(hex, {0x09, 0x02, 0x27, 0x00, 0x01, 0x01, 0x00, 0x80, 0x32});
  appendHex(hex, {0x09, 0x04, 0x00, 0x00, 0x03, 0xFF, 0x80, 0x37, 0x00});
  appendHex(hex, {0x07, 0x05, kBulkIn, 0x02, 0x40, 0x00, 0x00});
  appendHex(hex, {0x07, 0x05, kBulkOut, 0x02, 0x40, 0x00, 0x00});
  appendHex(hex, {0x07, 0x05, kInterruptIn, 0x03, 0x08, 0x00, 0x01});
  return hex;
}

std::string threeDigits(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%03u", value);
  return text;
}

std::string hexFour(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04x", value);
  return text;
}

std::vector<std::uint8_t> replyTo(FakeReply reply) {
  std::vector<std::uint8_t> bytes(kTestReplyBytes);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(~kTestFrame[i]);
  if (reply == FakeReply::SixBytes) bytes.pop_back();
  return bytes;
}

usbdevfs_urb& urbOf(UMockdevIoctlData* data) { return *reinterpret_cast<usbdevfs_urb*>(data->data); }

}  // namespace

FakeCh375Usb::FakeCh375Usb(const FakeUsbPlace& place, FakeReply reply)
    : place_(place), handler_(umockdev_ioctl_base_new()), reply_(reply) {
  g_signal_connect(handler_, "handle-ioctl", G_CALLBACK(onIoctl), this);
}

FakeCh375Usb::~FakeCh375Usb() {
  {
    std::lock_guard lock(mutex_);
    for (auto* list : {&waitingInterrupt_, &waitingBulkIn_}) {
      for (UMockdevIoctlData* urb : *list) umockdev_ioctl_data_unref(urb);
      list->clear();
    }
    for (UMockdevIoctlData* urb : done_) umockdev_ioctl_data_unref(urb);
    done_.clear();
  }
  g_object_unref(handler_);
}

std::string FakeCh375Usb::devnode() const {
  return "/dev/bus/usb/" + threeDigits(place_.bus) + "/" + threeDigits(place_.address);
}

std::string FakeCh375Usb::syspath() const {
  const std::string bus = std::to_string(place_.bus);
  return "/sys/devices/pci0000:00/0000:00:14.0/usb" + bus + "/" + bus + "-" + std::to_string(place_.port);
}

void FakeCh375Usb::setReply(FakeReply reply) {
  std::lock_guard lock(mutex_);
  reply_ = reply;
}

void FakeCh375Usb::send(const InterruptData& report) { sendPacket({report.begin(), report.end()}); }

void FakeCh375Usb::sendPacket(std::vector<std::uint8_t> packet) {
  std::lock_guard lock(mutex_);
  reports_.push_back(std::move(packet));
  feedInterruptLocked();
}

void FakeCh375Usb::haltInterruptEndpoint() {
  std::lock_guard lock(mutex_);
  halted_ = true;
  feedInterruptLocked();
}

int FakeCh375Usb::haltsCleared() const {
  std::lock_guard lock(mutex_);
  return haltsCleared_;
}

bool FakeCh375Usb::waitUntilSent(int timeoutMs) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return reports_.empty(); });
}

bool FakeCh375Usb::waitForInterruptTransfer(int timeoutMs) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return !waitingInterrupt_.empty(); });
}

int FakeCh375Usb::testFramesReceived() const {
  std::lock_guard lock(mutex_);
  return testFrames_;
}

int FakeCh375Usb::resets() const {
  std::lock_guard lock(mutex_);
  return resets_;
}

bool FakeCh375Usb::claimed() const {
  std::lock_guard lock(mutex_);
  return claimed_;
}

void FakeCh375Usb::setPresent(bool present) {
  std::lock_guard lock(mutex_);
  present_ = present;
  if (present) return;
  claimed_ = false;
  replies_.clear();
  // As the kernel ends the transfers of a device that went away.
  for (auto* list : {&waitingInterrupt_, &waitingBulkIn_}) {
    for (UMockdevIoctlData* urb : *list) completeLocked(urb, -ENODEV, nullptr, 0);
    list->clear();
  }
  changed_.notify_all();
}

int FakeCh375Usb::onIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self) {
  return static_cast<FakeCh375Usb*>(self)->handle(client) ? TRUE : FALSE;
}

bool FakeCh375Usb::handle(UMockdevIoctlClient* client) {
  const unsigned long request = umockdev_ioctl_client_get_request(client);
  UMockdevIoctlData* argument = umockdev_ioctl_client_get_arg(client);
  std::lock_guard lock(mutex_);
  // A vanished device's transfers can still be taken back, as the kernel
  // allows (USBDEVFS_CAP_REAP_AFTER_DISCONNECT); everything else fails.
  const bool takesBack =
      request == USBDEVFS_REAPURB || request == USBDEVFS_REAPURBNDELAY || request == USBDEVFS_DISCARDURB;
  if (!present_ && !takesBack) {
    umockdev_ioctl_client_complete(client, -1, ENODEV);
    return true;
  }
  switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
      UMockdevIoctlData* capabilities = umockdev_ioctl_data_resolve(argument, 0, sizeof(std::uint32_t), nullptr);
      *reinterpret_cast<std::uint32_t*>(capabilities->data) =
          USBDEVFS_CAP_BULK_CONTINUATION | USBDEVFS_CAP_NO_PACKET_SIZE_LIM | USBDEVFS_CAP_REAP_AFTER_DISCONNECT;
      umockdev_ioctl_data_unref(capabilities);
      umockdev_ioctl_client_complete(client, 0, 0);
      return true;
    }
    case USBDEVFS_CLAIMINTERFACE:
    case USBDEVFS_DISCONNECT_CLAIM:
      claimed_ = true;
      umockdev_ioctl_client_complete(client, 0, 0);
      return true;
    case USBDEVFS_RELEASEINTERFACE:
      claimed_ = false;
      umockdev_ioctl_client_complete(client, 0, 0);
      return true;
    case USBDEVFS_RESET:
      // As the kernel resets a device: the transfers in flight are killed,
      // the endpoints start afresh, and the interface's claim is dropped
      // (whoever held it claims it again).
      ++resets_;
      replies_.clear();
      halted_ = false;
      claimed_ = false;
      for (auto* list : {&waitingInterrupt_, &waitingBulkIn_}) {
        for (UMockdevIoctlData* urb : *list) completeLocked(urb, -ESHUTDOWN, nullptr, 0);
        list->clear();
      }
      changed_.notify_all();
      umockdev_ioctl_client_complete(client, 0, 0);
      return true;
    case USBDEVFS_CLEAR_HALT: {
      UMockdevIoctlData* endpoint = umockdev_ioctl_data_resolve(argument, 0, sizeof(unsigned int), nullptr);
      if (*reinterpret_cast<unsigned int*>(endpoint->data) == kInterruptIn && halted_) {
        halted_ = false;
        ++haltsCleared_;
      }
      umockdev_ioctl_data_unref(endpoint);
      umockdev_ioctl_client_complete(client, 0, 0);
      changed_.notify_all();
      return true;
    }
    case USBDEVFS_RESETEP:
      umockdev_ioctl_client_complete(client, 0, 0);
      return true;
    case USBDEVFS_GETDRIVER:
    case USBDEVFS_IOCTL:
      // No kernel driver holds the chip.
      umockdev_ioctl_client_complete(client, -1, ENODATA);
      return true;
    case USBDEVFS_SUBMITURB:
      return submit(client, argument);
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY:
      return reap(client, argument);
    case USBDEVFS_DISCARDURB:
      return discard(client, argument);
    default:
      std::fprintf(stderr, "fake CH375: request 0x%lx not handled\n", request);
      umockdev_ioctl_client_complete(client, -1, ENOTTY);
      return true;
  }
}

bool FakeCh375Usb::submit(UMockdevIoctlClient* client, UMockdevIoctlData* argument) {
  UMockdevIoctlData* urbData = umockdev_ioctl_data_resolve(argument, 0, sizeof(usbdevfs_urb), nullptr);
  usbdevfs_urb& urb = urbOf(urbData);
  UMockdevIoctlData* buffer = umockdev_ioctl_data_resolve(urbData, offsetof(usbdevfs_urb, buffer),
                                                          static_cast<gsize>(urb.buffer_length), nullptr);
  if (buffer != nullptr) umockdev_ioctl_data_unref(buffer);
  umockdev_ioctl_client_complete(client, 0, 0);
  if (urb.type == USBDEVFS_URB_TYPE_BULK && urb.endpoint == kBulkOut) {
    const auto* bytes = static_cast<const std::uint8_t*>(urb.buffer);
    if (urb.buffer_length == static_cast<int>(kTestFrame.size()) &&
        std::ranges::equal(kTestFrame, std::span(bytes, kTestFrame.size()))) {
      ++testFrames_;
      if (reply_ != FakeReply::Silent) replies_.push_back(replyTo(reply_));
    }
    completeLocked(urbData, 0, nullptr, urb.buffer_length);
  } else if (urb.type == USBDEVFS_URB_TYPE_BULK && urb.endpoint == kBulkIn) {
    waitingBulkIn_.push_back(urbData);
  } else if (urb.type == USBDEVFS_URB_TYPE_INTERRUPT && urb.endpoint == kInterruptIn) {
    waitingInterrupt_.push_back(urbData);
  } else {
    completeLocked(urbData, -EPIPE, nullptr,
                   0);  // a stall, as for an endpoint the chip lacks
  }
  // Replies and reports waiting for this transfer go out now.
  while (!waitingBulkIn_.empty() && !replies_.empty()) {
    const std::vector<std::uint8_t> reply = std::move(replies_.front());
    replies_.pop_front();
    UMockdevIoctlData* in = waitingBulkIn_.front();
    waitingBulkIn_.erase(waitingBulkIn_.begin());
    completeLocked(in, 0, reply.data(), static_cast<int>(reply.size()));
  }
  feedInterruptLocked();
  changed_.notify_all();
  return true;
}

void FakeCh375Usb::garbleInterrupts(int count) {
  std::lock_guard lock(mutex_);
  garble_ = count;
  feedInterruptLocked();
}

void FakeCh375Usb::feedInterruptLocked() {
  // A halted endpoint answers every transfer with a stall (-EPIPE).
  for (; halted_ && !waitingInterrupt_.empty(); waitingInterrupt_.erase(waitingInterrupt_.begin())) {
    completeLocked(waitingInterrupt_.front(), -EPIPE, nullptr, 0);
  }
  for (; garble_ > 0 && !waitingInterrupt_.empty(); --garble_) {
    UMockdevIoctlData* urb = waitingInterrupt_.front();
    waitingInterrupt_.erase(waitingInterrupt_.begin());
    completeLocked(urb, -EPROTO, nullptr, 0);
  }
  while (!waitingInterrupt_.empty() && !reports_.empty()) {
    const std::vector<std::uint8_t> report = std::move(reports_.front());
    reports_.pop_front();
    UMockdevIoctlData* urb = waitingInterrupt_.front();
    waitingInterrupt_.erase(waitingInterrupt_.begin());
    completeLocked(urb, 0, report.data(), static_cast<int>(report.size()));
  }
  changed_.notify_all();
}

void FakeCh375Usb::completeLocked(UMockdevIoctlData* urbData, int status, const std::uint8_t* data, int length) {
  usbdevfs_urb& urb = urbOf(urbData);
  const int copied = std::min(length, urb.buffer_length);
  if (data != nullptr && copied > 0) std::copy_n(data, copied, static_cast<std::uint8_t*>(urb.buffer));
  urb.actual_length = status == 0 ? copied : 0;
  urb.status = status;
  done_.push_back(urbData);
}

bool FakeCh375Usb::reap(UMockdevIoctlClient* client, UMockdevIoctlData* argument) {
  if (done_.empty()) {
    umockdev_ioctl_client_complete(client, -1, EAGAIN);
    return true;
  }
  UMockdevIoctlData* urbData = done_.front();
  done_.pop_front();
  UMockdevIoctlData* pointer = umockdev_ioctl_data_resolve(argument, 0, sizeof(void*), nullptr);
  umockdev_ioctl_data_set_ptr(pointer, 0, urbData);
  umockdev_ioctl_data_unref(pointer);
  umockdev_ioctl_data_unref(urbData);
  umockdev_ioctl_client_complete(client, 0, 0);
  return true;
}

bool FakeCh375Usb::discard(UMockdevIoctlClient* client, UMockdevIoctlData* argument) {
  const auto address = reinterpret_cast<gulong>(*reinterpret_cast<void**>(argument->data));
  for (auto* list : {&waitingInterrupt_, &waitingBulkIn_}) {
    const auto found = std::ranges::find(*list, address, [](UMockdevIoctlData* urb) { return urb->client_addr; });
    if (found == list->end()) continue;
    UMockdevIoctlData* urb = *found;
    list->erase(found);
    completeLocked(urb, -ENOENT, nullptr, 0);
    umockdev_ioctl_client_complete(client, 0, 0);
    changed_.notify_all();
    return true;
  }
  umockdev_ioctl_client_complete(client, -1, EINVAL);
  return true;
}

FakeUsbBus::FakeUsbBus() : bed_(umockdev_testbed_new()) {
  gchar* root = umockdev_testbed_get_root_dir(bed_);
  root_ = root;
  g_free(root);
}

FakeUsbBus::~FakeUsbBus() {
  for (const auto& machine : machines_) umockdev_testbed_detach_ioctl(bed_, machine->devnode().c_str(), nullptr);
  machines_.clear();
  g_object_unref(bed_);
}

bool FakeUsbBus::inMockEnvironment() { return umockdev_in_mock_environment() != FALSE; }

FakeCh375Usb& FakeUsbBus::plugIn(const FakeUsbPlace& place, FakeReply reply) {
  auto machine = std::make_unique<FakeCh375Usb>(place, reply);
  GError* error = nullptr;
  // The handler first, so that the device can be opened as soon as udev
  // announces it.
  if (!umockdev_testbed_attach_ioctl(bed_, machine->devnode().c_str(), machine->handler(), &error)) {
    const std::string why = error->message;
    g_error_free(error);
    throw std::runtime_error("cannot attach the fake CH375: " + why);
  }
  const std::string bus = std::to_string(place.bus);
  const std::string record =
      "P: " + machine->syspath().substr(4) +
      "\n"
      "N: " +
      machine->devnode().substr(5) +
      "\n"
      "E: SUBSYSTEM=usb\n"
      "E: DEVTYPE=usb_device\n"
      "E: DRIVER=usb\n"
      "E: BUSNUM=" +
      threeDigits(place.bus) + "\nE: DEVNUM=" + threeDigits(place.address) + "\nE: DEVNAME=" + machine->devnode() +
      "\nA: idVendor=" + hexFour(place.id.vendor) + "\\n\nA: idProduct=" + hexFour(place.id.product) +
      "\\n\nA: busnum=" + std::to_string(place.bus) + "\\n\nA: devnum=" + std::to_string(place.address) +
      "\\n\nA: bConfigurationValue=1\\n\nA: speed=12\\n\nH: descriptors=" + descriptorsHex(place.id) + "\n";
  if (!umockdev_testbed_add_from_string(bed_, record.c_str(), &error)) {
    const std::string why = error->message;
    g_error_free(error);
    throw std::runtime_error("cannot add the fake CH375: " + why);
  }
  machines_.push_back(std::move(machine));
  return *machines_.back();
}

void FakeUsbBus::unplug(FakeCh375Usb& machine) {
  machine.setPresent(false);
  umockdev_testbed_uevent(bed_, machine.syspath().c_str(), "remove");
}

void FakeUsbBus::plugBack(FakeCh375Usb& machine) {
  machine.setPresent(true);
  umockdev_testbed_uevent(bed_, machine.syspath().c_str(), "add");
}

void FakeUsbBus::forbid(FakeCh375Usb& machine) {
  const std::string node = root_ + machine.devnode();
  ::chmod(node.c_str(), 0);
}

}  // namespace qiru::testing
