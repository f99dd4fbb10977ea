#pragma once
// The two machine connections: the plug monitors, opening a machine and
// checking that it answers, installing the interrupt routines that fill the
// key report queues, resetting a side when its machine goes away, and the
// online labels that show all this to the players.
//
// Threads. The plug handler runs on the library's plug notice thread (and on
// the start-up thread for machines present at start); the interrupt routine
// on the library's interrupt threads; the label refresh and the queue resets
// also on the reader threads (through the match engine). A side's plug
// handling is serialised by the side's lock, which waits through the clock,
// so that simulations in virtual time see a thread that waits for it.
//
// Machine 2 can be simulated so that one machine plays alone: while it is,
// machine 2 reads as open and reported in with fixed numbers, and the real
// connection record underneath stays as it is, so that switching the
// simulation off (at the end of every round) leaves a real machine 2 alone.

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "device/ch375_library.h"
#include "device/key_report_queue.h"
#include "device/machine_labels.h"
#include "device/machine_link.h"
#include "device/side.h"
#include "support/clock.h"
#include "support/clock_lock.h"
#include "support/messages.h"

namespace qiru {

// Opening a machine after its arrival notice: attempts, and the wait after
// each while the device settles.
inline constexpr int kOpenAttempts = 5;
inline constexpr std::int64_t kOpenRetryWaitMs = 40;
// The device's write and read time-outs.
inline constexpr std::uint32_t kDeviceTimeoutMs = 3000;

// What machine 2 reads as while it is simulated.
inline constexpr std::int32_t kSimulatedMachineNumber = 99999;
inline constexpr std::int32_t kSimulatedSecondNumber = 180101;
inline constexpr Ch375Handle kSimulatedHandle = 1;
inline constexpr std::int32_t kSimulatedReportLength = kLongReportLength;

class MachineConnection {
 public:
  MachineConnection(Ch375Library& library, Clock& clock, MessageService& messages, MachineLabels& labels);
  // Disconnects (below).
  ~MachineConnection();
  MachineConnection(const MachineConnection&) = delete;
  MachineConnection& operator=(const MachineConnection&) = delete;

  // Start-up, once (later calls do nothing): empties both queues and
  // connects the machines. The reader threads start next (reader_threads.h).
  void initialise();
  // Removes the plug and interrupt routines from the library; once it
  // returns, none of them runs any more, and the library may go. The
  // connection records, queues and labels stay as they are.
  void disconnect();
  // The plug handler: status kCh375DeviceArrived opens the side's machine
  // (if it is not open), checks the link and installs the interrupt
  // routine; kCh375DeviceRemoved closes it unless it still answers and
  // takes its interrupt routine again (the notice was about another device,
  // or a library that gave up the machine's reports refuses it: then the
  // status-error box says so). Other statuses do nothing.
  void onPlugNotice(int side, std::uint32_t status);
  // Forgets what the side's machine reported and drops its unread reports.
  void resetSide(int side);
  // The interrupt routine of the side.
  void onInterrupt(int side, const std::uint8_t* data) noexcept;

  // Takes the numbers the queues have learnt and rewrites the online labels
  // where a number or a connection changed since the last refresh.
  void refreshMachineLabels();
  // Every chord begun before now on either machine is lost, wherever it is
  // (queued as reports, or half captured), and the queues forget the
  // numbers they learnt; the next report of each machine teaches them
  // again. The reports themselves still reach chord capture, so that it
  // knows which keys are down.
  void clearReportQueues();
  // The stamp before which every chord of the side's machine has been
  // handed on by its reader (KeyReportQueue::caughtUpUs).
  std::int64_t caughtUpUs(int side) const;
  // Sets both machine numbers to 0, so that the machines report in again.
  void forgetMachineNumbers();
  // Machine 2 plays as simulated (on) or as itself again (off).
  void simulateMachine2(bool on);
  bool machine2Simulated() const { return machine2Simulated_.load(std::memory_order_relaxed); }

  KeyReportQueue& queue(int side) { return queues_[sideSlot(side)]; }
  // The connection as the match sees it: machine 2's simulated values while
  // it is simulated, else the connection record.
  Ch375Handle handle(int side) const;
  std::int32_t machineNumber(int side) const;
  std::int32_t secondNumber(int side) const;
  std::int32_t lastReportLength(int side) const;
  bool isOpen(int side) const { return handle(side) > 0; }
  bool hasReportedIn(int side) const { return machineNumber(side) != 0; }

 private:
  // For machine 1, then machine 2: installs the plug monitor and, when the
  // machine is present, opens it and runs the plug handler's arrival.
  void connect();
  bool simulated(int side) const { return side == kBlueSide && machine2Simulated(); }
  MachineLink& link(int side) { return links_[sideSlot(side)]; }
  const MachineLink& link(int side) const { return links_[sideSlot(side)]; }
  void onArrival(int side);
  void onRemoval(int side);
  // False, after the status-error box, when the library refused it.
  bool installInterruptRoutine(int side);
  // Lets the readers see a forget request at once.
  void wakeReaders();
  // Copies the queue's numbers into the side's record (not while simulated).
  void takeNumbersFromQueue(int side);

  Ch375Library& library_;
  Clock& clock_;
  MessageService& messages_;
  MachineLabels& labels_;
  std::array<MachineLink, kSideCount> links_;
  std::array<KeyReportQueue, kSideCount> queues_;
  std::array<ClockLock, kSideCount> plugLocks_;
  std::atomic<bool> initialised_{false};
  std::atomic<bool> machine2Simulated_{false};

  // What the labels show now, so that they are rewritten only on a change;
  // both start at 0. Guarded by labelsMutex_, which also keeps the
  // simulation switch and the copying of the numbers apart.
  mutable std::mutex labelsMutex_;
  std::array<std::int32_t, kSideCount> shownNumbers_{};
  std::array<Ch375Handle, kSideCount> shownHandles_{};
};

}  // namespace qiru
