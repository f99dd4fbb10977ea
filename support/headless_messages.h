#pragma once
// The message service when there is no screen: tests, simulations and the
// command-line tools. It records every box, prints it, and answers by a
// policy. A box that times out keeps its caller for its time-out on the
// clock, as a real one would, so that a simulation in virtual time sees the
// same pause.

#include <functional>
#include <iosfwd>
#include <mutex>
#include <vector>

#include "support/clock.h"
#include "support/messages.h"

namespace qiru {

using AnswerPolicy = std::function<int(const MessageRequest&)>;

// A user who is not there: a box that closes itself times out; any other box
// is answered with its first button (OK, or Yes).
int answerUnattended(const MessageRequest& request);

// Every box gets the same answer (AnswerNo, say).
AnswerPolicy answerAlways(int answer);

class HeadlessMessages final : public MessageService {
 public:
  struct Record {
    MessageRequest request;
    int answer;
  };

  // out: where each box is printed (none: not printed). clock: where a
  // timed-out box waits its time-out (none: it answers at once).
  explicit HeadlessMessages(std::ostream* out = nullptr, AnswerPolicy policy = answerUnattended,
                            Clock* clock = nullptr);

  int show(const MessageRequest& request) override;

  void setPolicy(AnswerPolicy policy);
  std::vector<Record> records() const;

 private:
  std::ostream* out_;
  Clock* clock_;
  mutable std::mutex mutex_;
  AnswerPolicy policy_;
  std::vector<Record> records_;
};

}  // namespace qiru
