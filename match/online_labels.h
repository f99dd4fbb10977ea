#pragma once
// The online labels of the main window as the machine link's display: each
// side's label names the side and, once the machine has reported in, its
// machine number (and the name a person gave that number, if any), in the
// side's colour (grey while it has not reported in); its background tells
// whether the machine is connected.

#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "device/machine_labels.h"
#include "ui/appearance.h"
#include "ui/control_model.h"

namespace qiru {

// The labels' text colour while the side's machine has not reported in.
// Every label keeps 3:1 (large text) against its ground at least.
inline constexpr ui::Colour kNotReportedInColour = 0x505050;
// The online label's background while the machine is open, and while it is not.
inline constexpr ui::Colour kConnectedBackground = ui::kScoreTileGreen;
inline constexpr ui::Colour kDisconnectedBackground = 0xD0D0D0;

// The side's own colour, in which its labels show once it has reported in.
ui::Colour sideColour(int side);

// Names people gave to machine numbers ("10001 = 张三").
using MachineNames = std::map<std::int32_t, std::string>;

class OnlineLabels final : public MachineLabels {
 public:
  explicit OnlineLabels(ui::ControlModel& model) : model_(model) {}

  // From the machine link's threads.
  void showMachineNumber(int side, std::int32_t machineNumber) override;
  void showConnected(int side, bool connected) override;
  // From the window: these names show beside their numbers from now on,
  // on the labels at once.
  void nameMachines(MachineNames names);

 private:
  void showLocked(int side);

  ui::ControlModel& model_;
  std::mutex mutex_;
  std::array<std::int32_t, 2> numbers_{};  // guarded by mutex_; 0: not reported in
  MachineNames names_;                     // guarded by mutex_
  std::array<std::string, 2> shown_;       // guarded by mutex_; what each label was last given here
};

}  // namespace qiru
