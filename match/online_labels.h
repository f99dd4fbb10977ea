#pragma once
// The online labels of the main window as the machine link's display: each
// side's label names the side and, once the machine has reported in, its
// machine number, in the side's colour (grey while it has not reported in);
// its background tells whether the machine is connected.

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

class OnlineLabels final : public MachineLabels {
 public:
  explicit OnlineLabels(ui::ControlModel& model) : model_(model) {}

  void showMachineNumber(int side, std::int32_t machineNumber) override;
  void showConnected(int side, bool connected) override;

 private:
  ui::ControlModel& model_;
};

}  // namespace qiru
