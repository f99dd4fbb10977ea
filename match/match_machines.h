#pragma once
// What the match asks of the machine link: whether each machine is there
// and has reported in, the report queues to empty between rounds, and the
// simulation of a missing machine 2. The program's machines are the machine
// connection (ConnectedMachines); tests of the match flow may stand in
// machines of their own.

#include <cstdint>

#include "device/machine_connection.h"

namespace qiru {

class MatchMachines {
 public:
  virtual ~MatchMachines() = default;
  // Takes the numbers the machines reported and shows them.
  virtual void refreshMachineLabels() = 0;
  // Drops every buffered report; the machines' numbers are learnt again.
  virtual void clearReportQueues() = 0;
  // Both machines must report in again.
  virtual void forgetMachineNumbers() = 0;
  virtual void simulateMachine2(bool on) = 0;
  virtual bool machine2Simulated() const = 0;
  virtual bool isOpen(int side) const = 0;
  virtual bool hasReportedIn(int side) const = 0;
  // The stamp before which every chord of the side's machine has reached
  // the match (its reader has caught up). Machines that hand their chords
  // over directly are always caught up.
  virtual std::int64_t caughtUpUs(int side) const {
    (void)side;
    return INT64_MAX;
  }
  // The number the machine reported in with (99999 for the simulated
  // machine 2); 0 when unknown.
  virtual std::int32_t machineNumber(int /*side*/) const { return 0; }
};

class ConnectedMachines final : public MatchMachines {
 public:
  explicit ConnectedMachines(MachineConnection& machines) : machines_(machines) {}

  void refreshMachineLabels() override { machines_.refreshMachineLabels(); }
  void clearReportQueues() override { machines_.clearReportQueues(); }
  void forgetMachineNumbers() override { machines_.forgetMachineNumbers(); }
  void simulateMachine2(bool on) override { machines_.simulateMachine2(on); }
  bool machine2Simulated() const override { return machines_.machine2Simulated(); }
  bool isOpen(int side) const override { return machines_.isOpen(side); }
  bool hasReportedIn(int side) const override { return machines_.hasReportedIn(side); }
  std::int64_t caughtUpUs(int side) const override { return machines_.caughtUpUs(side); }
  std::int32_t machineNumber(int side) const override { return machines_.machineNumber(side); }

 private:
  MachineConnection& machines_;
};

}  // namespace qiru
