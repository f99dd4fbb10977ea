#include "device/link_test.h"

#include <array>

#include "device/report_layout.h"

namespace qiru {

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
