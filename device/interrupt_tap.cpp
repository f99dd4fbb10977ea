#include "device/interrupt_tap.h"

#include <utility>

namespace qiru {

InterruptTap::InterruptTap(Ch375Library& inner, Observer observer)
    : inner_(inner), observer_(std::move(observer)) {}

Ch375Result InterruptTap::setDeviceNotify(int deviceIndex, std::string_view deviceId, Ch375PlugRoutine routine) {
  return inner_.setDeviceNotify(deviceIndex, deviceId, std::move(routine));
}

Ch375Handle InterruptTap::openDevice(int deviceIndex) { return inner_.openDevice(deviceIndex); }

void InterruptTap::closeDevice(int deviceIndex) { inner_.closeDevice(deviceIndex); }

Ch375Result InterruptTap::setTimeout(int deviceIndex, std::uint32_t writeTimeoutMs, std::uint32_t readTimeoutMs) {
  return inner_.setTimeout(deviceIndex, writeTimeoutMs, readTimeoutMs);
}

Ch375Result InterruptTap::writeData(int deviceIndex, const std::uint8_t* buffer, std::uint32_t& length) {
  return inner_.writeData(deviceIndex, buffer, length);
}

Ch375Result InterruptTap::readData(int deviceIndex, std::uint8_t* buffer, std::uint32_t& length) {
  return inner_.readData(deviceIndex, buffer, length);
}

Ch375Result InterruptTap::resetDevice(int deviceIndex) { return inner_.resetDevice(deviceIndex); }

Ch375Result InterruptTap::setIntRoutine(int deviceIndex, Ch375InterruptRoutine routine) {
  if (!routine) return inner_.setIntRoutine(deviceIndex, {});
  return inner_.setIntRoutine(deviceIndex, [this, deviceIndex, routine = std::move(routine)](const std::uint8_t* data) {
    observer_(deviceIndex, data);
    routine(data);
  });
}

}  // namespace qiru
