#pragma once
// Online labels that write down every change, for tests of the machine
// connection on virtual machines.

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "device/machine_labels.h"
#include "tests/device/virtual_rig.h"

namespace qiru::testing {

// Every label change, as "@ms side what".
class RecordingLabels final : public MachineLabels {
 public:
  explicit RecordingLabels(const VirtualRig& rig) : rig_(rig) {}
  void showMachineNumber(int side, std::int32_t number) override {
    record(side, "number " + std::to_string(number));
  }
  void showConnected(int side, bool connected) override { record(side, connected ? "connected" : "disconnected"); }
  std::vector<std::string> take() {
    std::lock_guard lock(mutex_);
    return std::exchange(log_, {});
  }

 private:
  void record(int side, const std::string& what) {
    std::lock_guard lock(mutex_);
    log_.push_back("@" + std::to_string(rig_.elapsedMs()) + " " + std::to_string(side) + " " + what);
  }
  const VirtualRig& rig_;
  std::mutex mutex_;
  std::vector<std::string> log_;
};

}  // namespace qiru::testing
