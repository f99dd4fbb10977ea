#pragma once
// Interrupt data written and read as hex bytes, byte 0 first
// ("07 FE FF FF FF 39 30 00"), as report logs write them.

#include <string>
#include <string_view>

#include "device/report_log.h"

namespace qiru::testing {

inline InterruptData reportBytes(std::string_view hex) {
  const ReportLog log = parseReportLog("0 " + std::string(hex));
  return interruptDataOf(log.reports.at(0));
}

inline std::string hexOf(const std::uint8_t* data, std::size_t size = kInterruptDataBytes) {
  // The line's time ("0 ") is not part of the bytes.
  return formatReportLine({0, {data, data + size}}).substr(2);
}

}  // namespace qiru::testing
