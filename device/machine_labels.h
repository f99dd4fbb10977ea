#pragma once
// Where the machine link shows each machine's state to the players: the
// side's online label. The machine link decides when something changed; an
// implementation decides how it looks (match/online_labels.h).

#include <cstdint>

namespace qiru {

class MachineLabels {
 public:
  virtual ~MachineLabels() = default;
  // The number the side's machine reported; 0: it has not reported in.
  virtual void showMachineNumber(int side, std::int32_t machineNumber) = 0;
  // Whether the side's machine is open.
  virtual void showConnected(int side, bool connected) = 0;
};

// For runs without a window (report replays, benchmarks): shows nothing.
class NoMachineLabels final : public MachineLabels {
 public:
  void showMachineNumber(int, std::int32_t) override {}
  void showConnected(int, bool) override {}
};

}  // namespace qiru
