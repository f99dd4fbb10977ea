#pragma once
// Whether a machine answers: the program writes the test frame and checks
// the reply (report_layout.h). The result's number is the error code the
// connection-error message shows.

#include <cstdint>
#include <string_view>

#include "device/ch375_library.h"
#include "support/clock.h"

namespace qiru {

enum class LinkTestResult : std::int32_t {
  Answers = 0,      // the machine answered with the complements of the frame
  WrongReply = 1,   // a reply of the right length with the wrong bytes
  WrongLength = 2,  // a reply of another length than kTestReplyBytes
  ReadFailed = 3,   // no reply could be read (the machine is silent or gone)
  WriteFailed = 4,  // the frame could not be written
};

// Rounds of the link check, and the pause after each failed round, in
// which the device is reset and given time to come back.
inline constexpr int kLinkCheckRounds = 3;
inline constexpr std::int64_t kLinkRetryPauseMs = 500;

// What the result means, in a few words ("no reply").
std::string_view describeLinkTest(LinkTestResult result);

// One exchange of the test frame.
LinkTestResult linkTest(Ch375Library& library, int deviceIndex);

// Up to kLinkCheckRounds link tests; after each failure the device is reset
// and the check pauses kLinkRetryPauseMs. Returns the last result.
LinkTestResult linkCheck(Ch375Library& library, Clock& clock, int deviceIndex);

}  // namespace qiru
