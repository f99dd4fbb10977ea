#pragma once
// The libusb backend's entry points: the CH375 function table over
// libusb-1.0, for stenotype machines built on the CH375/CH372 chip in its
// built-in firmware mode (Linux).
//
// Device index N reaches the N-th machine in the order of device_order.h.
// The library runs two threads of its own:
// - the event thread runs libusb's event handling: the interrupt transfers
//   of open devices complete there, and each completion calls the device's
//   interrupt routine with the 8-byte report block;
// - the notice thread calls the plug routines (plug_notice_thread.h). Like
//   the vendor library's, a notice goes to every installed plug monitor,
//   whichever machine it is about: the program tests its own machine to
//   find out.
// An interrupt routine must not call closeDevice or setIntRoutine: both
// wait for the event thread that the routine runs on.
// A third thread, the retry thread, sends failed interrupt transfers again
// after their wait and clears a stalled endpoint's halt (a request that
// must not wait on the event thread). When a machine's transfers fail for
// good, the library posts a removal notice for it: the program's link test
// finds the machine answering, installs the interrupt routine again, and
// that fails (setIntRoutine gives 0) until the machine arrives again.

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <optional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "device/ch375_library.h"
#include "device/libusb/device_order.h"
#include "device/libusb/plug_notice_thread.h"
#include "device/libusb/usb_ids.h"
#include "device/libusb/usb_messages.h"

struct libusb_context;
struct libusb_device;

namespace qiru {

// Device indexes the backend serves: the two machines and room beside them.
inline constexpr int kLibusbDeviceSlots = 4;
// Bulk transfer time-outs until the program sets its own.
inline constexpr std::uint32_t kLibusbDefaultTimeoutMs = 3000;
// Garbled interrupt transfers in a row (bus errors, stalls) after which a
// machine's key reports are given up until it arrives again. Each failed
// transfer is sent again after a wait that doubles from the first to the
// longest, so that the run of failures spans about two seconds: a hub's
// glitch passes within it, a machine that stays broken does not.
inline constexpr int kMaxFailedInterruptTransfers = 16;
inline constexpr std::int64_t kFirstInterruptRetryWaitMs = 1;
inline constexpr std::int64_t kLongestInterruptRetryWaitMs = 250;

struct LibusbCh375Options {
  // The IDs that mark a stenotype machine (usb_ids.h).
  std::vector<UsbId> ids = machineIdsWith({});
  // Where the udev rule is installed, for the permission message.
  std::string udevRulePath = defaultUdevRulePath();
  // Problems the person at the machine can fix (no permission, machine in
  // use elsewhere); each is told once per machine and port. Called on the
  // thread that tried to open the machine, after the attempt, holding no
  // lock of the library: it may wait for the person. Unset: written to
  // stderr.
  std::function<void(const std::string& text)> report;
};

class LibusbCh375 final : public Ch375Library {
 public:
  // Throws std::runtime_error when libusb cannot be started.
  explicit LibusbCh375(LibusbCh375Options options);
  // Closes what is open and stops both threads.
  ~LibusbCh375() override;
  LibusbCh375(const LibusbCh375&) = delete;
  LibusbCh375& operator=(const LibusbCh375&) = delete;

  // How many stenotype machines are plugged in now, open or not.
  int presentMachines();

  // The function table.
  Ch375Result setDeviceNotify(int deviceIndex, std::string_view deviceId, Ch375PlugRoutine routine) override;
  Ch375Handle openDevice(int deviceIndex) override;
  void closeDevice(int deviceIndex) override;
  Ch375Result setTimeout(int deviceIndex, std::uint32_t writeTimeoutMs, std::uint32_t readTimeoutMs) override;
  Ch375Result writeData(int deviceIndex, const std::uint8_t* buffer, std::uint32_t& length) override;
  Ch375Result readData(int deviceIndex, std::uint8_t* buffer, std::uint32_t& length) override;
  Ch375Result resetDevice(int deviceIndex) override;
  Ch375Result setIntRoutine(int deviceIndex, Ch375InterruptRoutine routine) override;

  // One device index's state; defined in libusb_ch375.cpp, named here only
  // so that libusb's transfer callback there can reach it.
  struct Slot;

 private:
  struct Present {
    libusb_device* device;
    UsbId id;
    UsbLocation location;
  };

  // A machine that could not be opened for a reason the user can fix.
  struct Problem {
    UsbLocation location;
    int error;  // the libusb error
    std::string text;
  };

  Slot* slot(int deviceIndex);
  // The machines plugged in now; each holds a reference, freed by unref().
  std::vector<Present> listPresent();
  static void unref(std::vector<Present>& present);
  // Opens and claims `found` into the slot: LIBUSB_SUCCESS, or the libusb
  // error that stopped it.
  int openInto(Slot& slot, const Present& found);
  // The problem an open that ended with the libusb error is, if it is one
  // the user can fix.
  std::optional<Problem> problemOf(int error, const Present& found) const;
  void tellOnce(const Problem& problem);
  Ch375Result bulkTransfer(int deviceIndex, bool in, std::uint8_t* buffer, std::uint32_t& length);
  void stopInterruptTransfer(Slot& slot);
  // Submits the slot's interrupt transfer; transferMutex held. False when
  // libusb refused it.
  static bool startInterruptTransfer(Slot& slot);
  // The event thread's handling of a finished interrupt transfer, and the
  // retry thread's (libusb_ch375.cpp).
  struct InterruptTransfers;
  void scheduleRetry(Slot& slot, std::int64_t waitMs, bool clearHalt);
  void runRetries();
  void closeSlot(Slot& slot);
  bool ensureHotplug();
  // libusb's hotplug callback (libusb_ch375.cpp).
  struct HotplugCallback;
  void deliverNotice(std::uint32_t status);
  void runEvents();

  LibusbCh375Options options_;
  libusb_context* context_ = nullptr;
  std::array<std::unique_ptr<Slot>, kLibusbDeviceSlots> slots_;
  // Guards the held locations of all slots (read when another index opens)
  // and what has been told.
  std::mutex heldMutex_;
  std::set<std::pair<UsbLocation, int>> told_;
  std::mutex hotplugMutex_;  // guards the two below
  bool hotplugRegistered_ = false;
  int hotplugHandle_ = 0;
  std::atomic<bool> stopEvents_{false};
  std::thread eventThread_;
  // Interrupt transfers waiting to be sent again: the slot, when, and
  // whether its endpoint's halt is to be cleared first.
  struct Retry {
    Slot* slot;
    std::chrono::steady_clock::time_point due;
    bool clearHalt;
  };
  std::mutex retryMutex_;  // guards the two below
  std::vector<Retry> retries_;
  bool stopRetries_ = false;
  std::condition_variable retryWanted_;
  std::thread retryThread_;
  PlugNoticeThread notices_;  // last: delivers once everything above exists
};

}  // namespace qiru
