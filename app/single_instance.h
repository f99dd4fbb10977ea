#pragma once
// One running program per user session. The first instance holds a lock
// file in the runtime folder and listens on a local socket beside it; a
// second start finds the lock taken and asks the first, through the socket,
// to restore and raise its window. A first instance that is stuck holds the
// lock but does not answer. (A Windows build would use a named event and a
// window message.)

#include <QLocalServer>
#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>

namespace qiru::app {

// The instance name shared by every start.
inline constexpr const char* kInstanceName = "QiruStenoMain";
// How long a second start waits for the first to answer.
inline constexpr int kRaiseAnswerWaitMs = 1000;

class SingleInstance {
 public:
  // folder: where the lock and the socket live (the runtime folder).
  explicit SingleInstance(const QString& folder);
  ~SingleInstance();

  // Takes the lock: true when this is the only instance.
  bool claim();
  // The second start: asks the running instance to raise its window; true
  // when it said it did.
  bool askRunningToRaise(int waitMs = kRaiseAnswerWaitMs) const;
  // The first instance: answers raise requests by calling `raise` on the
  // GUI thread. Only after claim() succeeded.
  bool serve(std::function<void()> raise);

  QString socketPath() const { return socketPath_; }

 private:
  QString socketPath_;
  QLockFile lock_;
  std::unique_ptr<QLocalServer> server_;
};

// The user's runtime folder (XDG_RUNTIME_DIR), or the temporary folder.
QString runtimeFolder();

}  // namespace qiru::app
