#pragma once
// Stenotype machines on a fake USB bus, for the libusb backend's tests. The
// bus is a umockdev test bed: the machines appear in its sysfs and /dev,
// udev announces them, and every usbfs request that libusb makes of a
// machine is answered here, in this process, as a CH375 in its built-in
// firmware mode would answer it: the test frame on the bulk OUT endpoint,
// the reply on the bulk IN endpoint, key reports on the interrupt endpoint.
//
// The program under test must run under umockdev-wrapper (the test bed
// redirects the program's view of /sys and /dev); see inMockEnvironment().

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/libusb/usb_ids.h"
#include "device/report_layout.h"

typedef struct _UMockdevTestbed UMockdevTestbed;
typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;
typedef struct _UMockdevIoctlData UMockdevIoctlData;

namespace qiru::testing {

// How a machine answers the test frame.
enum class FakeReply {
  Answers,   // seven bytes, the complements where the program looks
  SixBytes,  // one byte short
  Silent,    // never: the read runs into its time-out
};

// Where a machine is plugged in, and what it says it is.
struct FakeUsbPlace {
  std::uint8_t bus = 1;
  std::uint8_t port = 2;
  std::uint8_t address = 2;  // the device number on its bus
  UsbId id{0x1A86, 0x5537};
};

class FakeCh375Usb {
 public:
  FakeCh375Usb(const FakeUsbPlace& place, FakeReply reply);
  ~FakeCh375Usb();
  FakeCh375Usb(const FakeCh375Usb&) = delete;
  FakeCh375Usb& operator=(const FakeCh375Usb&) = delete;

  const FakeUsbPlace& place() const { return place_; }
  std::string devnode() const;
  std::string syspath() const;  // under /sys, as the test bed takes it

  void setReply(FakeReply reply);
  // Queues one interrupt report; it goes out with the next interrupt
  // transfer the program has running (at once if one is waiting).
  void send(const InterruptData& report);
  // Queues one interrupt packet of any length, also short or empty.
  void sendPacket(std::vector<std::uint8_t> packet);
  // The next `count` interrupt transfers end in a bus error, as on a flaky
  // cable.
  void garbleInterrupts(int count);
  // The interrupt endpoint halts, as the chip's firmware does after a
  // protocol error: every interrupt transfer ends in a stall until the host
  // clears the halt.
  void haltInterruptEndpoint();
  // Waits (up to timeoutMs) until every queued report has gone out.
  bool waitUntilSent(int timeoutMs);
  // Waits (up to timeoutMs) until the program has an interrupt transfer
  // running: the machine's interrupt routine is installed.
  bool waitForInterruptTransfer(int timeoutMs);

  int testFramesReceived() const;
  int resets() const;
  int haltsCleared() const;
  bool claimed() const;

  // The cable: unplugged, every request fails as for a vanished device and
  // transfers in flight end with it.
  void setPresent(bool present);

  UMockdevIoctlBase* handler() const { return handler_; }

 private:
  static int onIoctl(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);
  bool handle(UMockdevIoctlClient* client);
  bool submit(UMockdevIoctlClient* client, UMockdevIoctlData* argument);
  bool reap(UMockdevIoctlClient* client, UMockdevIoctlData* argument);
  bool discard(UMockdevIoctlClient* client, UMockdevIoctlData* argument);
  // Hands a queued report to a waiting interrupt transfer; mutex_ held.
  void feedInterruptLocked();
  void completeLocked(UMockdevIoctlData* urb, int status, const std::uint8_t* data, int length);

  FakeUsbPlace place_;
  UMockdevIoctlBase* handler_ = nullptr;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  FakeReply reply_;
  bool present_ = true;
  bool claimed_ = false;
  int testFrames_ = 0;
  int resets_ = 0;
  int garble_ = 0;
  bool halted_ = false;
  int haltsCleared_ = 0;
  std::deque<std::vector<std::uint8_t>> reports_;
  std::deque<std::vector<std::uint8_t>> replies_;
  // Transfers submitted and not yet reaped: waiting for data, and done.
  std::vector<UMockdevIoctlData*> waitingInterrupt_;
  std::vector<UMockdevIoctlData*> waitingBulkIn_;
  std::deque<UMockdevIoctlData*> done_;
};

// The fake bus: a umockdev test bed and the machines on it.
class FakeUsbBus {
 public:
  FakeUsbBus();
  ~FakeUsbBus();
  FakeUsbBus(const FakeUsbBus&) = delete;
  FakeUsbBus& operator=(const FakeUsbBus&) = delete;

  // Whether this process runs under umockdev-wrapper.
  static bool inMockEnvironment();

  // Plugs a machine in; udev announces it.
  FakeCh375Usb& plugIn(const FakeUsbPlace& place, FakeReply reply = FakeReply::Answers);
  // Pulls the machine's cable (udev announces the removal) and puts it back.
  void unplug(FakeCh375Usb& machine);
  void plugBack(FakeCh375Usb& machine);
  // Takes away everyone's right to open the machine's device node.
  void forbid(FakeCh375Usb& machine);

 private:
  UMockdevTestbed* bed_ = nullptr;
  std::string root_;
  std::vector<std::unique_ptr<FakeCh375Usb>> machines_;
};

}  // namespace qiru::testing
