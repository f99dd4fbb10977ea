#include "device/machine_connection.h"

#include "device/link_messages.h"
#include "device/link_test.h"

namespace qiru {

namespace {

// The machine link takes no device identifier: it watches every CH375
// device and sorts the notices out by testing its own machine.
constexpr std::string_view kAnyDevice = "";

}  // namespace

MachineConnection::MachineConnection(Ch375Library& library, Clock& clock, MessageService& messages,
                                     MachineLabels& labels)
    : library_(library),
      clock_(clock),
      messages_(messages),
      labels_(labels),
      plugLocks_{ClockLock(clock), ClockLock(clock)} {
  for (const int side : {kRedSide, kBlueSide}) link(side).deviceIndex = deviceIndexOf(side);
}

MachineConnection::~MachineConnection() { disconnect(); }

void MachineConnection::disconnect() {
  for (const int side : {kRedSide, kBlueSide}) {
    library_.setDeviceNotify(link(side).deviceIndex, kAnyDevice, {});
    library_.setIntRoutine(link(side).deviceIndex, {});
  }
}

void MachineConnection::initialise() {
  if (initialised_.exchange(true)) return;
  for (KeyReportQueue& queue : queues_) queue.reset();
  connect();
}

void MachineConnection::connect() {
  for (const int side : {kRedSide, kBlueSide}) {
    MachineLink& machine = link(side);
    {
      std::lock_guard guard(plugLocks_[sideSlot(side)]);
      machine.handle = kCh375InvalidHandle;
    }
    // Not under the side's lock: replacing a routine waits for a call of
    // the old one, which may be waiting for that lock.
    const auto plugRoutine = [this, side](std::uint32_t status) { onPlugNotice(side, status); };
    if (library_.setDeviceNotify(machine.deviceIndex, kAnyDevice, plugRoutine) == 0) {
      showPlugMonitorFailed(messages_, side);
      continue;
    }
    std::lock_guard guard(plugLocks_[sideSlot(side)]);
    // An arrival notice may have opened the machine meanwhile.
    if (machine.handle == kCh375InvalidHandle) {
      machine.machineNumber = 0;
      machine.secondNumber = 0;
      machine.handle = library_.openDevice(machine.deviceIndex);
    }
    if (machine.handle != kCh375InvalidHandle) onArrival(side);
  }
}

void MachineConnection::onPlugNotice(int side, std::uint32_t status) {
  std::lock_guard guard(plugLocks_[sideSlot(side)]);
  if (status == kCh375DeviceArrived) {
    onArrival(side);
  } else if (status == kCh375DeviceRemoved) {
    onRemoval(side);
  }
}

void MachineConnection::onArrival(int side) {
  MachineLink& machine = link(side);
  for (int attempt = 0; attempt < kOpenAttempts && machine.handle == kCh375InvalidHandle; ++attempt) {
    machine.handle = library_.openDevice(machine.deviceIndex);
    clock_.sleepFor(kOpenRetryWaitMs);
  }
  if (machine.handle == kCh375InvalidHandle) {
    resetSide(side);
    return;
  }
  library_.setTimeout(machine.deviceIndex, kDeviceTimeoutMs, kDeviceTimeoutMs);
  // A machine that keeps failing stays open: it may still send keys.
  if (const LinkTestResult result = linkCheck(library_, clock_, machine.deviceIndex);
      result != LinkTestResult::Answers) {
    showConnectionError(messages_, side, result);
  }
  installInterruptRoutine(side);
  refreshMachineLabels();
}

void MachineConnection::onRemoval(int side) {
  MachineLink& machine = link(side);
  if (machine.handle == kCh375InvalidHandle) return;
  // A machine that still answers is there; the notice may be about another
  // device, or about this machine's key reports, which the library has
  // given up: the routine is installed again, and where that fails the
  // player is told and the machine counts as gone until it arrives again.
  if (linkTest(library_, machine.deviceIndex) == LinkTestResult::Answers && installInterruptRoutine(side)) {
    refreshMachineLabels();
    return;
  }
  library_.closeDevice(machine.deviceIndex);
  machine.handle = kCh375InvalidHandle;
  resetSide(side);
}

bool MachineConnection::installInterruptRoutine(int side) {
  const auto routine = [this, side](const std::uint8_t* data) { onInterrupt(side, data); };
  const Ch375Result result = library_.setIntRoutine(link(side).deviceIndex, routine);
  if (result == 0) showStatusError(messages_, side, result);
  return result != 0;
}

void MachineConnection::onInterrupt(int side, const std::uint8_t* data) noexcept {
  const int length = data[0];
  link(side).lastReportLength.store(length, std::memory_order_relaxed);
  if (length < kMinKeyReportLength) return;
  KeyReportQueue& reports = queue(side);
  // Stamped first, before any decoding, so that chord capture merges and
  // the match orders chords by arrival time however late the reader gets
  // to the report.
  reports.beginArrival();
  reports.push(data, clock_.monotonicUs());
  // The clock's lock is taken only to wake a sleeping reader.
  if (reports.endArrival()) clock_.notify([] {});
}

std::int64_t MachineConnection::caughtUpUs(int side) const {
  return queues_[sideSlot(side)].caughtUpUs(clock_.monotonicUs());
}

void MachineConnection::resetSide(int side) {
  MachineLink& machine = link(side);
  machine.machineNumber = 0;
  machine.lastReportLength = 0;
  machine.secondNumber = 0;
  queue(side).reset();
  wakeReaders();
  refreshMachineLabels();
}

void MachineConnection::takeNumbersFromQueue(int side) {
  if (simulated(side)) return;
  link(side).machineNumber = queue(side).machineNumber();
  link(side).secondNumber = queue(side).secondNumber();
}

void MachineConnection::refreshMachineLabels() {
  std::lock_guard lock(labelsMutex_);
  for (const int side : {kRedSide, kBlueSide}) takeNumbersFromQueue(side);
  for (const int side : {kRedSide, kBlueSide}) {
    const std::int32_t number = machineNumber(side);
    if (number != shownNumbers_[sideSlot(side)]) {
      labels_.showMachineNumber(side, number);
      shownNumbers_[sideSlot(side)] = number;
    }
  }
  for (const int side : {kRedSide, kBlueSide}) {
    const Ch375Handle current = handle(side);
    if (current != shownHandles_[sideSlot(side)]) {
      labels_.showConnected(side, current != kCh375InvalidHandle);
      shownHandles_[sideSlot(side)] = current;
    }
  }
}

void MachineConnection::clearReportQueues() {
  const std::int64_t nowUs = clock_.monotonicUs();
  for (KeyReportQueue& queue : queues_) {
    queue.forgetChordsBefore(nowUs);
    queue.forgetNumbers();
  }
  wakeReaders();
}

void MachineConnection::wakeReaders() { clock_.notify([] {}); }

void MachineConnection::forgetMachineNumbers() {
  for (MachineLink& machine : links_) machine.machineNumber = 0;
}

void MachineConnection::simulateMachine2(bool on) {
  std::lock_guard lock(labelsMutex_);
  machine2Simulated_ = on;
  if (!on) takeNumbersFromQueue(kBlueSide);
}

Ch375Handle MachineConnection::handle(int side) const {
  return simulated(side) ? kSimulatedHandle : link(side).handle.load();
}

std::int32_t MachineConnection::machineNumber(int side) const {
  return simulated(side) ? kSimulatedMachineNumber : link(side).machineNumber.load();
}

std::int32_t MachineConnection::secondNumber(int side) const {
  return simulated(side) ? kSimulatedSecondNumber : link(side).secondNumber.load();
}

std::int32_t MachineConnection::lastReportLength(int side) const {
  return simulated(side) ? kSimulatedReportLength : link(side).lastReportLength.load(std::memory_order_relaxed);
}

}  // namespace qiru
