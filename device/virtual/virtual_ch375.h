#pragma once
// The virtual backend's entry points: a CH375 library whose devices are
// virtual stenotype machines (virtual_machine.h). Everything above the
// function table runs on it as on USB hardware.
//
// Like the vendor library it calls back on threads of its own: plug notices
// on a notice thread, each device's interrupt reports on that device's
// thread. A plug notice goes to every installed plug monitor, whichever
// device it is about: the library cannot say which, so the program tests its
// own machine to find out. A machine's reports reach the program only while
// the device is open and has an interrupt routine; reports sent at other
// times are lost, as keys struck on an unplugged machine are.
//
// Drivers (tests, chord_player.h, report_log_player.h) plug machines in and
// out and make them send reports at given times on the clock. A machine
// sends at most one key report a millisecond, as a full-speed interrupt
// endpoint polled once a USB frame does: a key change due in a frame
// already taken goes in the next free one. Interrupt data given as they are
// (a report log's) arrive at their own times, which the bus framed already.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <set>

#include "device/ch375_library.h"
#include "device/report_layout.h"
#include "device/virtual/library_thread.h"
#include "device/virtual/virtual_machine.h"
#include "support/clock.h"
#include "support/clock_lock.h"

namespace qiru {

// Device indexes the virtual library serves: the two machines and a few
// other CH375 devices that may come and go beside them.
inline constexpr int kVirtualDeviceSlots = 4;
// The read time-out until the program sets one.
inline constexpr std::uint32_t kDefaultReadTimeoutMs = 3000;

class VirtualCh375 final : public Ch375Library {
 public:
  explicit VirtualCh375(Clock& clock);
  ~VirtualCh375() override;
  VirtualCh375(const VirtualCh375&) = delete;
  VirtualCh375& operator=(const VirtualCh375&) = delete;

  // The hardware side, for drivers.
  // A device appears at the index (replacing any there): arrival notice.
  void plugIn(int deviceIndex, std::shared_ptr<VirtualMachine> machine);
  // A device that was there before the program started: no notice.
  void attach(int deviceIndex, std::shared_ptr<VirtualMachine> machine);
  // The device at the index goes away: removal notice.
  void unplug(int deviceIndex);
  // Plug monitors cannot be installed (as when the system refuses them).
  void refusePlugMonitors(bool refuse);
  // The device's machine sends the report for its keys becoming `keys` at atMs.
  void sendKeys(int deviceIndex, std::int64_t atMs, PressedKeys keys);
  // The device delivers these interrupt data at atMs, as they are.
  void sendData(int deviceIndex, std::int64_t atMs, const InterruptData& data);
  // Stops the library's threads; notices and reports not yet delivered are
  // dropped. Also done at destruction.
  void shutdown();
  // Told, on the device's thread, of every report that a device could not
  // deliver (unplugged, not open, or no interrupt routine), as a bus
  // analyser sees it: the device index and when. None by default.
  using LostReportListener = std::function<void(int deviceIndex, std::int64_t atMs)>;
  void setLostReportListener(LostReportListener listener);

  // The function table.
  Ch375Result setDeviceNotify(int deviceIndex, std::string_view deviceId, Ch375PlugRoutine routine) override;
  Ch375Handle openDevice(int deviceIndex) override;
  void closeDevice(int deviceIndex) override;
  Ch375Result setTimeout(int deviceIndex, std::uint32_t writeTimeoutMs, std::uint32_t readTimeoutMs) override;
  Ch375Result writeData(int deviceIndex, const std::uint8_t* buffer, std::uint32_t& length) override;
  Ch375Result readData(int deviceIndex, std::uint8_t* buffer, std::uint32_t& length) override;
  Ch375Result resetDevice(int deviceIndex) override;
  Ch375Result setIntRoutine(int deviceIndex, Ch375InterruptRoutine routine) override;

 private:
  struct Device {
    explicit Device(Clock& clock) : notifyLock(clock), interruptLock(clock) {}
    // Guarded by mutex_.
    std::shared_ptr<VirtualMachine> machine;
    bool open = false;
    std::uint32_t readTimeoutMs = kDefaultReadTimeoutMs;
    std::unique_ptr<LibraryThread> interruptThread;
    std::set<std::int64_t> framesTaken;  // ms of the reports posted
    // Each routine is guarded by its lock, held while it runs, so that
    // replacing a routine waits for a call in progress. They wait through
    // the clock: the plug routine waits on it while it runs.
    ClockLock notifyLock;
    Ch375PlugRoutine plugRoutine;
    ClockLock interruptLock;
    Ch375InterruptRoutine interruptRoutine;
  };

  Device* device(int deviceIndex);
  // The machine of an open device; none if it is closed or unplugged.
  std::shared_ptr<VirtualMachine> openMachine(int deviceIndex);
  // Runs the device's report on its thread at atMs; `report` makes the
  // data from the device's machine.
  using Report = std::function<InterruptData(VirtualMachine&)>;
  void postReport(int deviceIndex, std::int64_t atMs, Report report);
  // The first USB frame from atMs in which the device has not sent yet.
  std::int64_t freeFrame(int deviceIndex, std::int64_t atMs);
  void deliver(int deviceIndex, Device& device, const Report& report);
  void notifyAll(std::uint32_t status);
  void setInterruptRoutine(Device& device, Ch375InterruptRoutine routine);

  Clock& clock_;
  std::mutex mutex_;
  bool refusesPlugMonitors_ = false;  // guarded by mutex_
  bool shutDown_ = false;             // guarded by mutex_
  LostReportListener lostReportListener_;  // guarded by mutex_
  std::array<std::unique_ptr<Device>, kVirtualDeviceSlots> devices_;
  LibraryThread noticeThread_;
};

}  // namespace qiru
