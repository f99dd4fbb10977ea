#include "device/virtual/virtual_machine.h"

#include <algorithm>
#include <utility>

namespace qiru {

VirtualMachine::VirtualMachine(std::int32_t machineNumber, std::int32_t secondNumber, int reportLength)
    : machineNumber_(machineNumber), secondNumber_(secondNumber), reportLength_(reportLength) {}

void VirtualMachine::refuseOpens(int count) {
  std::lock_guard lock(mutex_);
  refusedOpens_ = count;
}

void VirtualMachine::setReplyFault(ReplyFault fault, int count) {
  std::lock_guard lock(mutex_);
  replyFault_ = fault;
  faultyReplies_ = count;
}

void VirtualMachine::refuseInterruptRoutine(bool refuse) {
  std::lock_guard lock(mutex_);
  refusesInterruptRoutine_ = refuse;
}

bool VirtualMachine::useUp(int& count) {
  if (count == 0) return false;
  if (count > 0) --count;
  return true;
}

bool VirtualMachine::acceptsOpen() {
  std::lock_guard lock(mutex_);
  return !useUp(refusedOpens_);
}

bool VirtualMachine::acceptsInterruptRoutine() const {
  std::lock_guard lock(mutex_);
  return !refusesInterruptRoutine_;
}

void VirtualMachine::receive(const std::uint8_t* data, std::uint32_t length) {
  std::lock_guard lock(mutex_);
  const std::vector<std::uint8_t> written(data, data + std::min<std::size_t>(length, kTestReplyBytes));
  // The firmware answers whatever it is sent with its complement.
  std::vector<std::uint8_t> reply = written;
  for (std::uint8_t& byte : reply) byte = static_cast<std::uint8_t>(~byte);
  switch (useUp(faultyReplies_) ? replyFault_ : ReplyFault::None) {
    case ReplyFault::None: break;
    case ReplyFault::Silent: reply_.reset(); return;
    case ReplyFault::SixBytes: reply.resize(kTestReplyBytes - 1); break;
    case ReplyFault::WrongBytes: reply = written; break;
  }
  reply_ = std::move(reply);
}

std::optional<std::vector<std::uint8_t>> VirtualMachine::takeReply() {
  std::lock_guard lock(mutex_);
  return std::exchange(reply_, std::nullopt);
}

void VirtualMachine::reset() {
  std::lock_guard lock(mutex_);
  reply_.reset();
}

InterruptData VirtualMachine::keyReport(PressedKeys keys) {
  std::lock_guard lock(mutex_);
  InterruptData data{};
  data[0] = static_cast<std::uint8_t>(reportLength_);
  placeKeyBytes(reportLength_, keyBytesFor(keys), data.data());
  const std::uint32_t selfReport = nextReportsSecondNumber_
                                       ? kSecondNumberBase + static_cast<std::uint32_t>(secondNumber_)
                                       : static_cast<std::uint32_t>(machineNumber_);
  placeSelfReport(selfReport, data.data());
  nextReportsSecondNumber_ = !nextReportsSecondNumber_;
  return data;
}

}  // namespace qiru
