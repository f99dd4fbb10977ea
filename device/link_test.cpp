#include "device/link_test.h"

#include <array>

#include "device/report_layout.h"

namespace qiru {

std::string_view describeLinkTest(LinkTestResult result) {
  switch (result) {
    case LinkTestResult::Answers: return "the machine answers";
    case LinkTestResult::WrongReply: return "a reply with the wrong bytes";
    case LinkTestResult::WrongLength: return "a reply of the wrong length";
    case LinkTestResult::ReadFailed: return "no reply";
    case LinkTestResult::WriteFailed: return "the test frame could not be sent";
  }
  return "unknown result";
}

LinkTestResult linkTest(Ch375Library& library, int deviceIndex) {
  std::uint32_t length = kTestFrameBytes;
  if (library.writeData(deviceIndex, kTestFrame.data(), length) == 0) return LinkTestResult::WriteFailed;
  std::array<std::uint8_t, kReadBufferBytes> reply{};
  length = kReadBufferBytes;
  if (library.readData(deviceIndex, reply.data(), length) == 0) return LinkTestResult::ReadFailed;
  if (length != kTestReplyBytes) return LinkTestResult::WrongLength;
  return answersTestFrame(reply.data()) ? LinkTestResult::Answers : LinkTestResult::WrongReply;
}

LinkTestResult linkCheck(Ch375Library& library, Clock& clock, int deviceIndex) {
  LinkTestResult result = LinkTestResult::Answers;
  for (int round = 0; round < kLinkCheckRounds; ++round) {
    result = linkTest(library, deviceIndex);
    if (result == LinkTestResult::Answers) break;
    library.resetDevice(deviceIndex);
    clock.sleepFor(kLinkRetryPauseMs);
  }
  return result;
}

}  // namespace qiru
