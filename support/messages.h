#pragma once
// The one door through which the program tells the user something and, where
// it must, asks for an answer. Every box the program shows goes through a
// MessageService: the Qt window shows a real, topmost box; tests and the
// command-line tools record, print and answer by a policy.

#include <cstdint>
#include <string>

namespace qiru {

// Which buttons a box offers.
enum class MessageButtons {
  Ok,      // a notice: the only answer is OK (or the box closes itself)
  OkCancel,
  YesNo,   // a question such as "terminate the sibling program?"
};

// The symbol shown beside the text.
enum class MessageIcon { None, Information, Warning, Error, Question };

// Who owns the box: the main window (the box stays above it and is closed
// with it) or nobody (a task-modal box, used while the window may not exist).
enum class MessageOwner { MainWindow, None };

// Button codes as the program compares them: the platform's button identifier
// minus 1, so Yes = 5 and No = 6. A box that closed itself after its time-out
// answers TimedOut.
enum MessageAnswer : int {
  AnswerOk = 0,
  AnswerCancel = 1,
  AnswerAbort = 2,
  AnswerRetry = 3,
  AnswerIgnore = 4,
  AnswerYes = 5,
  AnswerNo = 6,
  AnswerTimedOut = 31999,
};

struct MessageRequest {
  std::string caption;  // UTF-8
  std::string text;     // UTF-8; lines may be separated by "\r\n"
  MessageButtons buttons = MessageButtons::Ok;
  MessageIcon icon = MessageIcon::None;
  MessageOwner owner = MessageOwner::MainWindow;
  bool topmost = true;
  int timeoutMs = 0;  // 0: stays until answered; else closes itself (3000, 5000, 10000)
};

class MessageService {
 public:
  virtual ~MessageService() = default;
  // Shows the box and returns the answer code. May be called from any thread.
  virtual int show(const MessageRequest& request) = 0;
};

}  // namespace qiru
