#include "support/headless_messages.h"

#include <ostream>
#include <string>
#include <string_view>
#include <utility>

namespace qiru {

namespace {

std::string_view buttonsName(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok: return "OK";
    case MessageButtons::OkCancel: return "OK/Cancel";
    case MessageButtons::YesNo: return "Yes/No";
  }
  return "?";
}

std::string answerName(int answer) {
  switch (answer) {
    case AnswerOk: return "OK";
    case AnswerCancel: return "Cancel";
    case AnswerAbort: return "Abort";
    case AnswerRetry: return "Retry";
    case AnswerIgnore: return "Ignore";
    case AnswerYes: return "Yes";
    case AnswerNo: return "No";
    case AnswerTimedOut: return "timed out";
  }
  return "answer " + std::to_string(answer);
}

// One line per box: the caption, the text with its line breaks shown as
// " / ", the buttons and time-out, and the answer.
void print(std::ostream& out, const MessageRequest& request, int answer) {
  std::string text = request.text;
  for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;) {
    text.replace(at, 2, " / ");
  }
  out << "message [" << request.caption << "] " << text << " {" << buttonsName(request.buttons);
  if (request.timeoutMs > 0) out << ", closes after " << request.timeoutMs << " ms";
  out << "} -> " << answerName(answer) << "\n";
}

}  // namespace

int answerUnattended(const MessageRequest& request) {
  if (request.timeoutMs > 0) return AnswerTimedOut;
  return request.buttons == MessageButtons::YesNo ? AnswerYes : AnswerOk;
}

AnswerPolicy answerAlways(int answer) {
  return [answer](const MessageRequest&) { return answer; };
}

HeadlessMessages::HeadlessMessages(std::ostream* out, AnswerPolicy policy, Clock* clock)
    : out_(out), clock_(clock), policy_(std::move(policy)) {}

int HeadlessMessages::show(const MessageRequest& request) {
  int answer;
  {
    std::lock_guard lock(mutex_);
    answer = policy_(request);
    records_.push_back({request, answer});
    if (out_ != nullptr) print(*out_, request, answer);
  }
  if (answer == AnswerTimedOut && clock_ != nullptr && request.timeoutMs > 0) {
    clock_->sleepFor(request.timeoutMs);
  }
  return answer;
}

void HeadlessMessages::setPolicy(AnswerPolicy policy) {
  std::lock_guard lock(mutex_);
  policy_ = std::move(policy);
}

std::vector<HeadlessMessages::Record> HeadlessMessages::records() const {
  std::lock_guard lock(mutex_);
  return records_;
}

}  // namespace qiru
