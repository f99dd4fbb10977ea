#pragma once
// One virtual stenotype machine, as its firmware behaves on the wire: it
// answers the link test frame, and it turns its key state into interrupt
// reports with its self-report. It can be told to misbehave, so that tests
// see what a faulty machine does to the program. Safe to use from any
// thread; the virtual library (virtual_ch375.h) carries its bytes.

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "device/report_layout.h"

namespace qiru {

// How a machine gets the link test wrong.
enum class ReplyFault {
  None,        // answers correctly
  Silent,      // sends no reply: the read waits its time-out and fails
  SixBytes,    // sends one byte too few
  WrongBytes,  // sends 7 bytes that are not the complements of the frame
};

// A fault that lasts for every following occasion.
inline constexpr int kAlways = -1;

class VirtualMachine {
 public:
  // reportLength: kLongReportLength or kShortReportLength.
  VirtualMachine(std::int32_t machineNumber, std::int32_t secondNumber, int reportLength = kLongReportLength);

  // Faults. count: how many occasions (kAlways: from now on).
  void refuseOpens(int count);
  void setReplyFault(ReplyFault fault, int count = kAlways);
  void refuseInterruptRoutine(bool refuse);

  // The library's side of the wire.
  bool acceptsOpen();
  bool acceptsInterruptRoutine() const;
  // The host wrote these bytes: the machine prepares its answer.
  void receive(const std::uint8_t* data, std::uint32_t length);
  // The prepared answer, taken; none when the machine stays silent.
  std::optional<std::vector<std::uint8_t>> takeReply();
  // A device reset drops the prepared answer.
  void reset();
  // The report the machine sends when its keys become `keys`. Its
  // self-report alternates between the machine number and the second
  // number, starting with the machine number.
  InterruptData keyReport(PressedKeys keys);

 private:
  // Whether the fault applies this time, using up one occasion.
  static bool useUp(int& count);

  mutable std::mutex mutex_;
  const std::int32_t machineNumber_;
  const std::int32_t secondNumber_;
  const int reportLength_;
  int refusedOpens_ = 0;
  ReplyFault replyFault_ = ReplyFault::None;
  int faultyReplies_ = 0;
  bool refusesInterruptRoutine_ = false;
  std::optional<std::vector<std::uint8_t>> reply_;
  bool nextReportsSecondNumber_ = false;
};

}  // namespace qiru
