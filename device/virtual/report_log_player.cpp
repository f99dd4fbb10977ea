#include "device/virtual/report_log_player.h"

namespace qiru {

void playReportLog(VirtualCh375& library, int deviceIndex, const std::vector<LoggedReport>& reports) {
  // The virtual clock counts whole milliseconds: a report logged within one
  // arrives at its start, after those logged before it.
  for (const LoggedReport& report : reports) library.sendData(deviceIndex, report.timeMs, interruptDataOf(report));
}

}  // namespace qiru
