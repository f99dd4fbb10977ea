#include "app/single_instance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace qiru::app {
namespace {

constexpr char kRaiseRequest[] = "raise\n";
constexpr char kRaisedAnswer[] = "raised\n";

}  // namespace

SingleInstance::SingleInstance(const QString& folder)
    : socketPath_(QDir(folder).filePath(QString::fromLatin1(kInstanceName) + QStringLiteral(".socket"))),
      lock_(QDir(folder).filePath(QString::fromLatin1(kInstanceName) + QStringLiteral(".lock"))) {
  // A lock left by a program that died is taken over: the lock file names
  // its process, which is gone.
  lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
  if (server_) server_->close();
}

bool SingleInstance::claim() { return lock_.tryLock(0); }

bool SingleInstance::askRunningToRaise(int waitMs) const {
  QLocalSocket socket;
  socket.connectToServer(socketPath_);
  if (!socket.waitForConnected(waitMs)) return false;
  socket.write(kRaiseRequest);
  if (!socket.waitForBytesWritten(waitMs)) return false;
  while (!socket.canReadLine()) {
    if (!socket.waitForReadyRead(waitMs)) return false;
  }
  return socket.readLine() == kRaisedAnswer;
}

bool SingleInstance::serve(std::function<void()> raise) {
  // Holding the lock, any socket file there is a dead instance's.
  QLocalServer::removeServer(socketPath_);
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this, raise = std::move(raise)] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, raise] {
        if (!socket->canReadLine()) return;
        if (socket->readLine() == kRaiseRequest) {
          raise();
          socket->write(kRaisedAnswer);
          socket->flush();
        }
      });
    }
  });
  return server_->listen(socketPath_);
}

QString runtimeFolder() {
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

}  // namespace qiru::app
