#include "device/virtual/virtual_ch375.h"

#include <algorithm>
#include <utility>

namespace qiru {

namespace {

// Handles are the index above this base: never -1, and never the simulated
// machine 2's handle.
constexpr Ch375Handle kFirstHandle = 0x100;
// How far back the frames taken are remembered.
constexpr std::int64_t kFrameMemoryMs = 1000;

}  // namespace

// A plug routine waits on the clock while it runs (it tests the machine); an
// interrupt routine only queues the report and never waits.
VirtualCh375::VirtualCh375(Clock& clock) : clock_(clock), noticeThread_(clock, StepsMayWait::Yes) {
  for (auto& device : devices_) device = std::make_unique<Device>(clock);
}

VirtualCh375::~VirtualCh375() { shutdown(); }

void VirtualCh375::shutdown() {
  noticeThread_.stop();
  for (auto& device : devices_) {
    std::unique_ptr<LibraryThread> thread;
    {
      std::lock_guard lock(mutex_);
      shutDown_ = true;
      thread = std::move(device->interruptThread);
    }
    if (thread) thread->stop();
  }
}

VirtualCh375::Device* VirtualCh375::device(int deviceIndex) {
  if (deviceIndex < 0 || deviceIndex >= kVirtualDeviceSlots) return nullptr;
  return devices_[static_cast<std::size_t>(deviceIndex)].get();
}

std::shared_ptr<VirtualMachine> VirtualCh375::openMachine(int deviceIndex) {
  Device* found = device(deviceIndex);
  if (found == nullptr) return nullptr;
  std::lock_guard lock(mutex_);
  return found->open ? found->machine : nullptr;
}

void VirtualCh375::plugIn(int deviceIndex, std::shared_ptr<VirtualMachine> machine) {
  if (device(deviceIndex) == nullptr) return;
  attach(deviceIndex, std::move(machine));
  noticeThread_.post(clock_.nowMs(), [this] { notifyAll(kCh375DeviceArrived); });
}

void VirtualCh375::attach(int deviceIndex, std::shared_ptr<VirtualMachine> machine) {
  Device* found = device(deviceIndex);
  if (found == nullptr) return;
  {
    std::lock_guard lock(mutex_);
    found->machine = std::move(machine);
    found->open = false;
  }
  setInterruptRoutine(*found, {});
}

void VirtualCh375::unplug(int deviceIndex) {
  Device* found = device(deviceIndex);
  if (found == nullptr) return;
  {
    std::lock_guard lock(mutex_);
    found->machine.reset();
    found->open = false;
  }
  setInterruptRoutine(*found, {});
  noticeThread_.post(clock_.nowMs(), [this] { notifyAll(kCh375DeviceRemoved); });
}

void VirtualCh375::setLostReportListener(LostReportListener listener) {
  std::lock_guard lock(mutex_);
  lostReportListener_ = std::move(listener);
}

void VirtualCh375::refusePlugMonitors(bool refuse) {
  std::lock_guard lock(mutex_);
  refusesPlugMonitors_ = refuse;
}

void VirtualCh375::notifyAll(std::uint32_t status) {
  for (auto& device : devices_) {
    std::lock_guard guard(device->notifyLock);
    if (device->plugRoutine) device->plugRoutine(status);
  }
}

void VirtualCh375::sendKeys(int deviceIndex, std::int64_t atMs, PressedKeys keys) {
  postReport(deviceIndex, freeFrame(deviceIndex, atMs),
             [keys](VirtualMachine& machine) { return machine.keyReport(keys); });
}

std::int64_t VirtualCh375::freeFrame(int deviceIndex, std::int64_t atMs) {
  Device* found = device(deviceIndex);
  if (found == nullptr) return atMs;
  std::lock_guard lock(mutex_);
  // Frames long past can no longer be asked for.
  std::set<std::int64_t>& frames = found->framesTaken;
  frames.erase(frames.begin(), frames.lower_bound(clock_.nowMs() - kFrameMemoryMs));
  std::int64_t frameMs = atMs;
  while (!frames.insert(frameMs).second) ++frameMs;
  return frameMs;
}

void VirtualCh375::sendData(int deviceIndex, std::int64_t atMs, const InterruptData& data) {
  postReport(deviceIndex, atMs, [data](VirtualMachine&) { return data; });
}

void VirtualCh375::postReport(int deviceIndex, std::int64_t atMs, Report report) {
  Device* found = device(deviceIndex);
  if (found == nullptr) return;
  std::lock_guard lock(mutex_);
  if (shutDown_) return;
  if (!found->interruptThread) found->interruptThread = std::make_unique<LibraryThread>(clock_, StepsMayWait::No);
  found->interruptThread->post(atMs, [this, deviceIndex, found, report = std::move(report)] {
    deliver(deviceIndex, *found, report);
  });
}

void VirtualCh375::deliver(int deviceIndex, Device& device, const Report& report) {
  std::lock_guard guard(device.interruptLock);
  std::shared_ptr<VirtualMachine> machine;
  LostReportListener lost;
  {
    std::lock_guard lock(mutex_);
    if (device.open && device.interruptRoutine) machine = device.machine;
    if (!machine) lost = lostReportListener_;
  }
  if (!machine) {
    if (lost) lost(deviceIndex, clock_.nowMs());
    return;
  }
  const InterruptData data = report(*machine);
  device.interruptRoutine(data.data());
}

void VirtualCh375::setInterruptRoutine(Device& device, Ch375InterruptRoutine routine) {
  std::lock_guard guard(device.interruptLock);
  device.interruptRoutine = std::move(routine);
}

Ch375Result VirtualCh375::setDeviceNotify(int deviceIndex, std::string_view, Ch375PlugRoutine routine) {
  Device* found = device(deviceIndex);
  if (found == nullptr) return 0;
  if (routine) {
    std::lock_guard lock(mutex_);
    if (refusesPlugMonitors_) return 0;
  }
  std::lock_guard guard(found->notifyLock);
  found->plugRoutine = std::move(routine);
  return 1;
}

Ch375Handle VirtualCh375::openDevice(int deviceIndex) {
  Device* found = device(deviceIndex);
  if (found == nullptr) return kCh375InvalidHandle;
  std::lock_guard lock(mutex_);
  if (!found->machine || !found->machine->acceptsOpen()) return kCh375InvalidHandle;
  found->open = true;
  return kFirstHandle + deviceIndex;
}

void VirtualCh375::closeDevice(int deviceIndex) {
  Device* found = device(deviceIndex);
  if (found == nullptr) return;
  {
    std::lock_guard lock(mutex_);
    found->open = false;
  }
  setInterruptRoutine(*found, {});
}

Ch375Result VirtualCh375::setTimeout(int deviceIndex, std::uint32_t, std::uint32_t readTimeoutMs) {
  Device* found = device(deviceIndex);
  if (found == nullptr) return 0;
  std::lock_guard lock(mutex_);
  found->readTimeoutMs = readTimeoutMs;
  return 1;
}

Ch375Result VirtualCh375::writeData(int deviceIndex, const std::uint8_t* buffer, std::uint32_t& length) {
  const auto machine = openMachine(deviceIndex);
  if (!machine) return 0;
  machine->receive(buffer, length);
  return 1;
}

Ch375Result VirtualCh375::readData(int deviceIndex, std::uint8_t* buffer, std::uint32_t& length) {
  const auto machine = openMachine(deviceIndex);
  if (!machine) return 0;
  const auto reply = machine->takeReply();
  if (!reply) {
    // A silent machine keeps the caller for the whole read time-out.
    std::uint32_t timeoutMs;
    {
      std::lock_guard lock(mutex_);
      timeoutMs = device(deviceIndex)->readTimeoutMs;
    }
    clock_.sleepFor(timeoutMs);
    return 0;
  }
  length = static_cast<std::uint32_t>(std::min<std::size_t>(reply->size(), length));
  std::copy_n(reply->begin(), length, buffer);
  return 1;
}

Ch375Result VirtualCh375::resetDevice(int deviceIndex) {
  const auto machine = openMachine(deviceIndex);
  if (!machine) return 0;
  machine->reset();
  return 1;
}

Ch375Result VirtualCh375::setIntRoutine(int deviceIndex, Ch375InterruptRoutine routine) {
  Device* found = device(deviceIndex);
  if (found == nullptr) return 0;
  if (routine) {
    const auto machine = openMachine(deviceIndex);
    if (!machine || !machine->acceptsInterruptRoutine()) return 0;
  }
  setInterruptRoutine(*found, std::move(routine));
  return 1;
}

}  // namespace qiru
