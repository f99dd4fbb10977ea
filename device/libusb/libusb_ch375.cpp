#include "device/libusb/libusb_ch375.h"

#include <libusb.h>

#include <algorithm>
#include <condition_variable>
#include <iostream>
#include <stdexcept>
#include <utility>

#include "device/libusb/bulk_transfer.h"
#include "device/libusb/endpoints.h"
#include "device/libusb/usb_messages.h"
#include "device/report_layout.h"

namespace qiru {

namespace {

// Handles are the index above this base: never -1, and never the simulated
// machine 2's handle.
constexpr Ch375Handle kFirstHandle = 0x200;
// The most hub ports between the root and a device that USB allows.
constexpr int kMaxPortDepth = 7;
// How long the event thread waits for an event before it looks whether it
// should stop; stopping also wakes it at once.
constexpr int kEventWaitMs = 500;

std::string libusbError(int error) { return libusb_strerror(static_cast<libusb_error>(error)); }

}  // namespace

struct LibusbCh375::Slot {
  LibusbCh375* library = nullptr;
  // One entry point at a time per device index: closing must not pull the
  // handle away under a transfer in progress.
  std::mutex operation;
  libusb_device_handle* handle = nullptr;
  int interfaceNumber = 0;
  Ch375Endpoints endpoints;
  std::uint32_t writeTimeoutMs = kLibusbDefaultTimeoutMs;
  std::uint32_t readTimeoutMs = kLibusbDefaultTimeoutMs;
  // The machine the index holds open; guarded by heldMutex_.
  std::optional<UsbLocation> held;

  // The interrupt transfer, resubmitted after each completion until it is
  // stopped or the device goes away. It counts as in flight while it is
  // submitted and while it waits on the retry thread.
  libusb_transfer* interrupt = nullptr;
  std::vector<std::uint8_t> interruptBuffer;
  std::mutex transferMutex;  // guards the flags and the count
  std::condition_variable transferIdle;
  bool inFlight = false;
  // Written under transferMutex; the retry thread reads it without.
  std::atomic<bool> stopRequested{false};
  // The transfers failed for good: the machine's keys are lost until it is
  // opened again.
  bool gaveUp = false;
  int failedInRow = 0;  // interrupt transfers ended by an error since the last report

  // Each routine is held by its lock while it runs, so that replacing it
  // waits for a call in progress.
  std::mutex interruptRoutineMutex;
  Ch375InterruptRoutine interruptRoutine;
  std::mutex plugRoutineMutex;
  Ch375PlugRoutine plugRoutine;

  ~Slot() {
    if (interrupt != nullptr) libusb_free_transfer(interrupt);
  }
};

namespace {

// The wait before the failed transfer number `failed` (1, 2, ...) of a run
// is sent again.
std::int64_t retryWaitMs(int failed) {
  std::int64_t wait = kFirstInterruptRetryWaitMs;
  for (int i = 1; i < failed && wait < kLongestInterruptRetryWaitMs; ++i) wait *= 2;
  return std::min(wait, kLongestInterruptRetryWaitMs);
}

// The block the interrupt routine reads: the packet as it came. Byte 0
// says how many report bytes follow; a packet that ended short of that (a
// glitch) must not pass the zeros behind it off as keys, which are active
// low: its length says only what arrived.
InterruptData blockOf(const libusb_transfer& transfer) {
  InterruptData block{};
  const auto arrived = std::min<std::size_t>(static_cast<std::size_t>(std::max(transfer.actual_length, 0)), block.size());
  std::copy_n(transfer.buffer, arrived, block.begin());
  if (arrived == 0) return block;
  block[0] = static_cast<std::uint8_t>(std::min<std::size_t>(block[0], arrived - 1));
  return block;
}

}  // namespace

struct LibusbCh375::InterruptTransfers {
  // On the event thread, once per finished transfer.
  static void LIBUSB_CALL finished(libusb_transfer* transfer) {
    auto& slot = *static_cast<Slot*>(transfer->user_data);
    if (transfer->status == LIBUSB_TRANSFER_COMPLETED) {
      const InterruptData block = blockOf(*transfer);
      std::lock_guard guard(slot.interruptRoutineMutex);
      if (slot.interruptRoutine) slot.interruptRoutine(block.data());
    }
    bool lost = false;
    std::optional<std::int64_t> retryInMs;
    {
      std::lock_guard lock(slot.transferMutex);
      if (!slot.stopRequested) {
        switch (transfer->status) {
          case LIBUSB_TRANSFER_COMPLETED:
            slot.failedInRow = 0;
            if (startInterruptTransfer(slot)) return;
            break;
          case LIBUSB_TRANSFER_ERROR:
          case LIBUSB_TRANSFER_STALL:
          case LIBUSB_TRANSFER_OVERFLOW:
          case LIBUSB_TRANSFER_TIMED_OUT:
            // A flaky cable or hub garbles a transfer now and then: the
            // machine is still there, and a later one goes through.
            if (++slot.failedInRow < kMaxFailedInterruptTransfers) {
              retryInMs = retryWaitMs(slot.failedInRow);
              break;
            }
            slot.gaveUp = true;
            lost = true;
            break;
          case LIBUSB_TRANSFER_CANCELLED:
          case LIBUSB_TRANSFER_NO_DEVICE:
            // Cancelled or unplugged: the next arrival installs it again.
            break;
        }
      }
      // Still in flight while it waits to be sent again.
      if (!retryInMs) slot.inFlight = false;
    }
    if (retryInMs) {
      slot.library->scheduleRetry(slot, *retryInMs, transfer->status == LIBUSB_TRANSFER_STALL);
      return;
    }
    slot.transferIdle.notify_all();
    // The program learns of it as of a removal: it finds the machine still
    // answering and installs the interrupt routine again, which fails.
    if (lost) slot.library->notices_.post(kCh375DeviceRemoved);
  }
};

bool LibusbCh375::startInterruptTransfer(Slot& slot) {
  return libusb_submit_transfer(slot.interrupt) == LIBUSB_SUCCESS;
}

void LibusbCh375::scheduleRetry(Slot& slot, std::int64_t waitMs, bool clearHalt) {
  {
    std::lock_guard lock(retryMutex_);
    retries_.push_back({&slot, std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs), clearHalt});
  }
  retryWanted_.notify_all();
}

void LibusbCh375::runRetries() {
  std::unique_lock lock(retryMutex_);
  while (true) {
    const auto now = std::chrono::steady_clock::now();
    // A stop does not wait for the retry's time.
    const auto due = std::ranges::find_if(
        retries_, [&](const Retry& retry) { return retry.due <= now || retry.slot->stopRequested.load(); });
    if (due == retries_.end()) {
      if (stopRetries_) return;
      const auto next = std::ranges::min_element(retries_, {}, &Retry::due);
      if (next == retries_.end()) {
        retryWanted_.wait(lock);
      } else {
        retryWanted_.wait_until(lock, next->due);
      }
      continue;
    }
    const Retry retry = *due;
    retries_.erase(due);
    lock.unlock();
    Slot& slot = *retry.slot;
    // A stall stays until the host clears the endpoint's halt; the request
    // is a control transfer that the event thread must be free to finish.
    if (retry.clearHalt) libusb_clear_halt(slot.interrupt->dev_handle, slot.interrupt->endpoint);
    {
      std::lock_guard transfer(slot.transferMutex);
      if (!slot.stopRequested && startInterruptTransfer(slot)) {
        lock.lock();
        continue;
      }
      slot.inFlight = false;
    }
    slot.transferIdle.notify_all();
    lock.lock();
  }
}

LibusbCh375::LibusbCh375(LibusbCh375Options options)
    : options_(std::move(options)), notices_([this](std::uint32_t status) { deliverNotice(status); }) {
  for (auto& slot : slots_) slot = std::make_unique<Slot>();
  const int started = libusb_init(&context_);
  if (started != LIBUSB_SUCCESS) {
    notices_.stop();
    throw std::runtime_error("cannot reach the USB stenotype machines: libusb could not start (" +
                             libusbError(started) + ")");
  }
  for (auto& slot : slots_) slot->library = this;
  eventThread_ = std::thread([this] { runEvents(); });
  retryThread_ = std::thread([this] { runRetries(); });
}

LibusbCh375::~LibusbCh375() {
  notices_.stop();
  for (auto& slot : slots_) {
    std::lock_guard operation(slot->operation);
    closeSlot(*slot);
  }
  {
    std::lock_guard lock(hotplugMutex_);
    if (hotplugRegistered_) libusb_hotplug_deregister_callback(context_, hotplugHandle_);
    hotplugRegistered_ = false;
  }
  {
    std::lock_guard lock(retryMutex_);
    stopRetries_ = true;
  }
  retryWanted_.notify_all();
  retryThread_.join();
  stopEvents_ = true;
  libusb_interrupt_event_handler(context_);
  eventThread_.join();
  for (auto& slot : slots_) slot.reset();
  libusb_exit(context_);
}

void LibusbCh375::runEvents() {
  while (!stopEvents_) {
    timeval wait{0, kEventWaitMs * 1000};
    libusb_handle_events_timeout_completed(context_, &wait, nullptr);
  }
}

LibusbCh375::Slot* LibusbCh375::slot(int deviceIndex) {
  if (deviceIndex < 0 || deviceIndex >= kLibusbDeviceSlots) return nullptr;
  return slots_[static_cast<std::size_t>(deviceIndex)].get();
}

std::vector<LibusbCh375::Present> LibusbCh375::listPresent() {
  std::vector<Present> present;
  libusb_device** list = nullptr;
  const ssize_t count = libusb_get_device_list(context_, &list);
  for (ssize_t i = 0; i < count; ++i) {
    libusb_device* device = list[i];
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(device, &descriptor) != LIBUSB_SUCCESS) continue;
    const UsbId id{descriptor.idVendor, descriptor.idProduct};
    if (!isMachineId(options_.ids, id)) continue;
    std::uint8_t ports[kMaxPortDepth];
    const int depth = libusb_get_port_numbers(device, ports, kMaxPortDepth);
    UsbLocation location{libusb_get_bus_number(device), {}};
    if (depth > 0) location.ports.assign(ports, ports + depth);
    present.push_back({libusb_ref_device(device), id, std::move(location)});
  }
  if (count >= 0) libusb_free_device_list(list, 1);
  return present;
}

void LibusbCh375::unref(std::vector<Present>& present) {
  for (const Present& found : present) libusb_unref_device(found.device);
  present.clear();
}

int LibusbCh375::presentMachines() {
  auto present = listPresent();
  const int count = static_cast<int>(present.size());
  unref(present);
  return count;
}

void LibusbCh375::tellOnce(const Problem& problem) {
  {
    std::lock_guard lock(heldMutex_);
    if (!told_.emplace(problem.location, problem.error).second) return;
  }
  if (options_.report) {
    options_.report(problem.text);
  } else {
    std::cerr << "qiru-pk: " << problem.text << '\n';
  }
}

std::optional<LibusbCh375::Problem> LibusbCh375::problemOf(int error, const Present& found) const {
  if (error == LIBUSB_ERROR_ACCESS) {
    return Problem{found.location, error, permissionDeniedText(found.id, found.location, options_.udevRulePath)};
  }
  if (error == LIBUSB_ERROR_BUSY) return Problem{found.location, error, deviceBusyText(found.id, found.location)};
  return std::nullopt;
}

Ch375Handle LibusbCh375::openDevice(int deviceIndex) {
  Slot* target = slot(deviceIndex);
  if (target == nullptr) return kCh375InvalidHandle;
  // What the user must hear is told once the device index is free again:
  // the report may wait for a person (a message box), and other calls for
  // this index must not wait with it.
  std::optional<Problem> problem;
  {
    std::lock_guard operation(target->operation);
    if (target->handle != nullptr) return kFirstHandle + deviceIndex;

    auto present = listPresent();
    std::vector<UsbLocation> locations;
    for (const Present& found : present) locations.push_back(found.location);
    std::vector<std::optional<UsbLocation>> held;
    {
      std::lock_guard lock(heldMutex_);
      for (const auto& each : slots_) held.push_back(each->held);
    }
    const auto reached = devicesForIndexes(std::move(locations), held)[static_cast<std::size_t>(deviceIndex)];
    const auto found = reached ? std::ranges::find(present, *reached, &Present::location) : present.end();
    const int error = found != present.end() ? openInto(*target, *found) : LIBUSB_ERROR_NOT_FOUND;
    if (error != LIBUSB_ERROR_NOT_FOUND) problem = problemOf(error, *found);
    unref(present);
    if (error == LIBUSB_SUCCESS) return kFirstHandle + deviceIndex;
  }
  if (problem) tellOnce(*problem);
  return kCh375InvalidHandle;
}

int LibusbCh375::openInto(Slot& slot, const Present& found) {
  libusb_device_handle* handle = nullptr;
  const int opened = libusb_open(found.device, &handle);
  if (opened != LIBUSB_SUCCESS) return opened;

  std::vector<EndpointInfo> endpoints;
  int interfaceNumber = 0;
  libusb_config_descriptor* config = nullptr;
  if (libusb_get_active_config_descriptor(found.device, &config) == LIBUSB_SUCCESS) {
    if (config->bNumInterfaces > 0 && config->interface[0].num_altsetting > 0) {
      const libusb_interface_descriptor& interface = config->interface[0].altsetting[0];
      interfaceNumber = interface.bInterfaceNumber;
      for (int i = 0; i < interface.bNumEndpoints; ++i) {
        const libusb_endpoint_descriptor& endpoint = interface.endpoint[i];
        endpoints.push_back({endpoint.bEndpointAddress, endpoint.bmAttributes, endpoint.wMaxPacketSize});
      }
    }
    libusb_free_config_descriptor(config);
  }

  // A kernel driver that took the chip (some kernels bind a generic one)
  // is set aside while the program holds the machine, and given back after.
  if (libusb_set_auto_detach_kernel_driver(handle, 1) == LIBUSB_ERROR_NOT_SUPPORTED &&
      libusb_kernel_driver_active(handle, interfaceNumber) == 1) {
    libusb_detach_kernel_driver(handle, interfaceNumber);
  }
  const int claimed = libusb_claim_interface(handle, interfaceNumber);
  if (claimed != LIBUSB_SUCCESS) {
    libusb_close(handle);
    return claimed;
  }

  slot.handle = handle;
  slot.interfaceNumber = interfaceNumber;
  slot.endpoints = ch375EndpointsOf(endpoints);
  std::lock_guard lock(heldMutex_);
  slot.held = found.location;
  return LIBUSB_SUCCESS;
}

void LibusbCh375::closeDevice(int deviceIndex) {
  Slot* target = slot(deviceIndex);
  if (target == nullptr) return;
  std::lock_guard operation(target->operation);
  closeSlot(*target);
}

void LibusbCh375::closeSlot(Slot& slot) {
  if (slot.handle == nullptr) return;
  stopInterruptTransfer(slot);
  libusb_release_interface(slot.handle, slot.interfaceNumber);
  libusb_close(slot.handle);
  slot.handle = nullptr;
  {
    std::lock_guard transfer(slot.transferMutex);
    slot.gaveUp = false;  // a machine opened again starts afresh
  }
  std::lock_guard lock(heldMutex_);
  slot.held.reset();
}

Ch375Result LibusbCh375::setTimeout(int deviceIndex, std::uint32_t writeTimeoutMs, std::uint32_t readTimeoutMs) {
  Slot* target = slot(deviceIndex);
  if (target == nullptr) return 0;
  std::lock_guard operation(target->operation);
  target->writeTimeoutMs = writeTimeoutMs;
  target->readTimeoutMs = readTimeoutMs;
  return 1;
}

Ch375Result LibusbCh375::writeData(int deviceIndex, const std::uint8_t* buffer, std::uint32_t& length) {
  // libusb takes one buffer type for both directions; an OUT transfer only
  // reads it.
  return bulkTransfer(deviceIndex, false, const_cast<std::uint8_t*>(buffer), length);
}

Ch375Result LibusbCh375::readData(int deviceIndex, std::uint8_t* buffer, std::uint32_t& length) {
  return bulkTransfer(deviceIndex, true, buffer, length);
}

Ch375Result LibusbCh375::bulkTransfer(int deviceIndex, bool in, std::uint8_t* buffer, std::uint32_t& length) {
  Slot* target = slot(deviceIndex);
  if (target == nullptr) return 0;
  std::lock_guard operation(target->operation);
  if (target->handle == nullptr) return 0;
  const std::optional<int> transferred =
      qiru::bulkTransfer(target->handle, in ? target->endpoints.bulkIn : target->endpoints.bulkOut, buffer,
                         static_cast<int>(length), in ? target->readTimeoutMs : target->writeTimeoutMs);
  if (!transferred) return 0;
  length = static_cast<std::uint32_t>(*transferred);
  return 1;
}

Ch375Result LibusbCh375::resetDevice(int deviceIndex) {
  Slot* target = slot(deviceIndex);
  if (target == nullptr) return 0;
  std::lock_guard operation(target->operation);
  if (target->handle == nullptr) return 0;
  // The kernel kills the transfers in flight at a reset: the interrupt
  // transfer is stopped before and started again after, rather than lost
  // to a completion that reads as an unplugged machine.
  bool receiving = false;
  {
    std::lock_guard transfer(target->transferMutex);
    receiving = target->inFlight;
  }
  if (receiving) stopInterruptTransfer(*target);
  const bool reset = libusb_reset_device(target->handle) == LIBUSB_SUCCESS;
  if (receiving) {
    std::lock_guard transfer(target->transferMutex);
    target->stopRequested = false;
    target->inFlight = startInterruptTransfer(*target);
  }
  return reset ? 1 : 0;
}

Ch375Result LibusbCh375::setIntRoutine(int deviceIndex, Ch375InterruptRoutine routine) {
  Slot* target = slot(deviceIndex);
  if (target == nullptr) return 0;
  std::lock_guard operation(target->operation);
  if (!routine) {
    stopInterruptTransfer(*target);
    std::lock_guard guard(target->interruptRoutineMutex);
    target->interruptRoutine = nullptr;
    return 1;
  }
  if (target->handle == nullptr) return 0;
  {
    std::lock_guard guard(target->interruptRoutineMutex);
    target->interruptRoutine = std::move(routine);
  }
  std::lock_guard lock(target->transferMutex);
  // Keys lost for good stay lost until the machine is opened again.
  if (target->gaveUp) return 0;
  if (target->inFlight) return 1;
  if (target->interrupt == nullptr) target->interrupt = libusb_alloc_transfer(0);
  if (target->interrupt == nullptr) return 0;
  target->interruptBuffer.assign(target->endpoints.interruptPacketBytes, 0);
  libusb_fill_interrupt_transfer(target->interrupt, target->handle, target->endpoints.interruptIn,
                                 target->interruptBuffer.data(), static_cast<int>(target->interruptBuffer.size()),
                                 InterruptTransfers::finished, target, 0);
  target->stopRequested = false;
  target->failedInRow = 0;
  if (!startInterruptTransfer(*target)) return 0;
  target->inFlight = true;
  return 1;
}

void LibusbCh375::stopInterruptTransfer(Slot& slot) {
  std::unique_lock lock(slot.transferMutex);
  slot.stopRequested = true;
  if (!slot.inFlight) return;
  // Not found means it has just completed, or waits on the retry thread:
  // either sees the stop.
  libusb_cancel_transfer(slot.interrupt);
  lock.unlock();
  {
    std::lock_guard retries(retryMutex_);  // so that the retry thread cannot miss the wake-up
  }
  retryWanted_.notify_all();
  lock.lock();
  slot.transferIdle.wait(lock, [&slot] { return !slot.inFlight; });
}

Ch375Result LibusbCh375::setDeviceNotify(int deviceIndex, std::string_view, Ch375PlugRoutine routine) {
  Slot* target = slot(deviceIndex);
  if (target == nullptr) return 0;
  if (routine && !ensureHotplug()) return 0;
  std::lock_guard guard(target->plugRoutineMutex);
  target->plugRoutine = std::move(routine);
  return 1;
}

struct LibusbCh375::HotplugCallback {
  // Inside libusb's event handling, where no device may be opened: the
  // notice is only posted. self is the library.
  static int LIBUSB_CALL run(libusb_context*, libusb_device* device, libusb_hotplug_event event, void* self) {
    auto& library = *static_cast<LibusbCh375*>(self);
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(device, &descriptor) == LIBUSB_SUCCESS &&
        isMachineId(library.options_.ids, {descriptor.idVendor, descriptor.idProduct})) {
      library.notices_.post(event == LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED ? kCh375DeviceArrived : kCh375DeviceRemoved);
    }
    return 0;  // stay registered
  }
};

bool LibusbCh375::ensureHotplug() {
  std::lock_guard lock(hotplugMutex_);
  if (hotplugRegistered_) return true;
  if (libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG) == 0) return false;
  // Every device is watched and the machines picked out in the callback:
  // libusb filters on one vendor and product only.
  const int registered = libusb_hotplug_register_callback(
      context_,
      static_cast<libusb_hotplug_event>(LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED | LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT),
      LIBUSB_HOTPLUG_NO_FLAGS, LIBUSB_HOTPLUG_MATCH_ANY, LIBUSB_HOTPLUG_MATCH_ANY, LIBUSB_HOTPLUG_MATCH_ANY,
      HotplugCallback::run, this, &hotplugHandle_);
  hotplugRegistered_ = registered == LIBUSB_SUCCESS;
  return hotplugRegistered_;
}

void LibusbCh375::deliverNotice(std::uint32_t status) {
  for (auto& each : slots_) {
    std::lock_guard guard(each->plugRoutineMutex);
    if (each->plugRoutine) each->plugRoutine(status);
  }
}

}  // namespace qiru
