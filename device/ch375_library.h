#pragma once
// The CH375 library's function table: everything the program asks of the
// USB interface chip's vendor library, and the two routines the library
// calls back. Every backend (virtual machines, libusb, the vendor DLL)
// implements this table; nothing above it knows which one runs.
//
// A device is addressed by its device index (0 for machine 1, 1 for
// machine 2). Results follow the library: a Ch375Result of 0 is a failure,
// anything else success.

#include <cstdint>
#include <functional>
#include <string_view>

namespace qiru {

using Ch375Result = std::int32_t;
using Ch375Handle = std::intptr_t;

// What CH375OpenDevice answers when there is no such device.
inline constexpr Ch375Handle kCh375InvalidHandle = -1;

// Plug notice statuses (the plug routine's one argument).
enum Ch375PlugStatus : std::uint32_t {
  kCh375DeviceRemoved = 0,  // a CH375 device went away (not necessarily ours)
  kCh375RemovalPending = 1,
  kCh375DeviceArrived = 3,  // a CH375 device appeared (not necessarily ours)
};

// Called on a thread of the library for every plug event the monitor sees.
using Ch375PlugRoutine = std::function<void(std::uint32_t status)>;
// Called on a thread of the library for each interrupt report; data points
// to the interrupt data block, of which at least kInterruptDataBytes bytes
// are readable (report_layout.h). Must not allocate or wait.
using Ch375InterruptRoutine = std::function<void(const std::uint8_t* data)>;

class Ch375Library {
 public:
  virtual ~Ch375Library() = default;

  // Installs (or, with an empty routine, removes) the plug monitor for the
  // device index. An empty deviceId watches every CH375 device. As with the
  // interrupt routine, a replaced routine is no longer running once this
  // has returned.
  virtual Ch375Result setDeviceNotify(int deviceIndex, std::string_view deviceId, Ch375PlugRoutine routine) = 0;
  virtual Ch375Handle openDevice(int deviceIndex) = 0;
  virtual void closeDevice(int deviceIndex) = 0;
  virtual Ch375Result setTimeout(int deviceIndex, std::uint32_t writeTimeoutMs, std::uint32_t readTimeoutMs) = 0;
  // length: bytes to write on entry.
  virtual Ch375Result writeData(int deviceIndex, const std::uint8_t* buffer, std::uint32_t& length) = 0;
  // length: the buffer's size on entry, the bytes received on return.
  virtual Ch375Result readData(int deviceIndex, std::uint8_t* buffer, std::uint32_t& length) = 0;
  virtual Ch375Result resetDevice(int deviceIndex) = 0;
  // Installs (or, with an empty routine, removes) the interrupt routine.
  // Once it has returned, the routine it replaced is no longer running and
  // will not be called again.
  virtual Ch375Result setIntRoutine(int deviceIndex, Ch375InterruptRoutine routine) = 0;
};

}  // namespace qiru
