#include "app/startup_guards.h"

#include "app/process_guard.h"
#include "support/message_boxes.h"

namespace qiru::app {

bool passSiblingGuard(MessageService& messages) {
  if (!findSiblingProcess()) return true;
  const int answer = showMessageBox(messages, std::string(kSiblingText), {MessageButtons::YesNo, MessageIcon::Warning},
                                    std::string(kSiblingCaption), MessageOwner::MainWindow);
  if (answer != AnswerYes) return false;
  // The box waits for the user as long as it takes: the sibling seen before
  // it may have ended meanwhile and its process id gone to another program
  // of the user's. Only the sibling running now is ended.
  if (const std::optional<ProcessId> sibling = findSiblingProcess()) terminateProcess(*sibling);
  return true;
}

bool passSingleInstanceGuard(SingleInstance& instance, MessageService& messages, const std::string& executablePath) {
  if (instance.claim()) return true;
  if (!instance.askRunningToRaise()) {
    showTimedMessage(messages, std::string(kAlreadyRunningText) + executablePath, {MessageButtons::Ok, MessageIcon::None},
                     std::string(kAlreadyRunningCaption), MessageOwner::MainWindow, true, kAlreadyRunningMessageMs);
  }
  return false;
}

}  // namespace qiru::app
