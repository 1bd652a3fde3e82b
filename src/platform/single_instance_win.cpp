// One running copy on Windows: a named mutex in the session's namespace is the lock (the
// system drops it with the process, however it ends), and a local socket (a named pipe that
// only our user may open) carries the request to bring the window back.
#include <QLocalServer>
#include <QLocalSocket>
#include <algorithm>

#include "platform/single_instance.h"
#include "platform/windows_sdk.h"

namespace qlc {

struct SingleInstance::Listener {
  explicit Listener(HANDLE held) : mutex(held) {}
  ~Listener() { CloseHandle(mutex); }
  HANDLE mutex;
  QLocalServer server;
};

SingleInstance::SingleInstance(const QString &dataFolder, QObject *parent)
    : QObject(parent), name_(NameFor(dataFolder)) {}

SingleInstance::~SingleInstance() = default;

SingleInstance::Took SingleInstance::Take() {
  const std::wstring name = (QStringLiteral("Local\\") + name_).toStdWString();
  HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
  if (mutex == nullptr) return Took::Failed;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return Took::Held;
  }
  listener_ = std::make_unique<Listener>(mutex);
  QLocalServer &server = listener_->server;
  server.setSocketOptions(QLocalServer::UserAccessOption);
  // Without the pipe the program still runs; later starts then wait and say so.
  if (!server.listen(name_)) return Took::Taken;
  connect(&server, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket *socket = listener_->server.nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (!socket->canReadLine()) {
          // A request is one short line; anything longer is not ours.
          if (socket->bytesAvailable() > 64) socket->abort();
          return;
        }
        if (socket->readLine() == kRestore) {
          emit RestoreRequested();
          socket->write(kDone);
        }
        socket->disconnectFromServer();
      });
    }
  });
  return Took::Taken;
}

SingleInstance::Answer SingleInstance::HandOver(int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(std::min(timeoutMs, 500))) return Answer::NoOne;
  socket.write(kRestore);
  if (!socket.waitForBytesWritten(timeoutMs)) return Answer::Silent;
  while (!socket.canReadLine())
    if (!socket.waitForReadyRead(timeoutMs)) return Answer::Silent;
  return socket.readLine() == kDone ? Answer::Done : Answer::NoOne;
}

}  // namespace qlc
