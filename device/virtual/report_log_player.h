#pragma once
// Plays a report log back through a virtual machine: each logged report is
// delivered as interrupt data at its logged time on the clock.

#include <vector>

#include "device/report_log.h"
#include "device/virtual/virtual_ch375.h"

namespace qiru {

void playReportLog(VirtualCh375& library, int deviceIndex, const std::vector<LoggedReport>& reports);

}  // namespace qiru
