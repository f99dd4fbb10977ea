#pragma once
// A CH375 library in front of another: every call passes through, and each
// interrupt data block is shown to an observer just before the program's
// interrupt routine gets it. For writing report logs of a machine, and for
// measuring how long a key takes from its report to the match.

#include <functional>

#include "device/ch375_library.h"

namespace qiru {

class InterruptTap final : public Ch375Library {
 public:
  // Runs on the library's interrupt thread, like the routine it precedes.
  using Observer = std::function<void(int deviceIndex, const std::uint8_t* data)>;

  InterruptTap(Ch375Library& inner, Observer observer);

  Ch375Result setDeviceNotify(int deviceIndex, std::string_view deviceId, Ch375PlugRoutine routine) override;
  Ch375Handle openDevice(int deviceIndex) override;
  void closeDevice(int deviceIndex) override;
  Ch375Result setTimeout(int deviceIndex, std::uint32_t writeTimeoutMs, std::uint32_t readTimeoutMs) override;
  Ch375Result writeData(int deviceIndex, const std::uint8_t* buffer, std::uint32_t& length) override;
  Ch375Result readData(int deviceIndex, std::uint8_t* buffer, std::uint32_t& length) override;
  Ch375Result resetDevice(int deviceIndex) override;
  Ch375Result setIntRoutine(int deviceIndex, Ch375InterruptRoutine routine) override;

 private:
  Ch375Library& inner_;
  Observer observer_;
};

}  // namespace qiru
