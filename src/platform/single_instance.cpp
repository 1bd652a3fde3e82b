#include "platform/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace qlc {

namespace {

constexpr char kRestore[] = "restore\n";
constexpr char kDone[] = "ok\n";

QString UserKey() {
#ifdef Q_OS_UNIX
  return QString::number(::getuid());
#else
  return qEnvironmentVariable("USERNAME");
#endif
}

// The user and the canonical folder, hashed: the same folder reached through a link is the
// same folder, and the name stays short enough for a socket path.
QString NameFor(const QString &dataFolder) {
  QString folder = QFileInfo(dataFolder).canonicalFilePath();
  if (folder.isEmpty()) folder = QDir(dataFolder).absolutePath();
  const QString user = UserKey();
  const QByteArray key = (user + u'\n' + folder).toUtf8();
  const QString name =
      QStringLiteral("qlconvert-%1-%2")
          .arg(user,
               QString::fromLatin1(
                   QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24)));
  // The session's private runtime folder where there is one, else the temporary folder.
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  const QString dir = !runtime.isEmpty() && QFileInfo(runtime).isDir() ? runtime : QDir::tempPath();
  return dir + u'/' + name;
}

}  // namespace

SingleInstance::SingleInstance(const QString &dataFolder, QObject *parent)
    : QObject(parent), name_(NameFor(dataFolder)), lock_(name_ + QStringLiteral(".lock")) {
  // Only a lock whose process is gone is stale, however old it is.
  lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Start SingleInstance::Claim(int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  for (;;) {
    if (lock_.tryLock(0)) {
      // Listening waits for the event loop, off the way to the first frame; a second start
      // meanwhile finds the lock held and waits for the socket.
      QTimer::singleShot(0, this, &SingleInstance::Listen);
      return Start::First;
    }
    if (lock_.error() != QLockFile::LockFailedError) return Start::Unguarded;
    // The holder may still be starting (not listening yet) or ending (its lock soon gone).
    const int left = timeoutMs - int(timer.elapsed());
    if (HandOver(std::max(left, 0))) return Start::HandedOver;
    if (timer.elapsed() >= timeoutMs) return Start::NoAnswer;
    QThread::msleep(20);
  }
}

bool SingleInstance::HandOver(int timeoutMs) {
#ifdef Q_OS_UNIX
  // In a shared temporary folder only a socket of the same user may answer for the folder.
  if (QFileInfo(name_).ownerId() != ::getuid()) return false;
#endif
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(std::min(timeoutMs, 500))) return false;
  socket.write(kRestore);
  if (!socket.waitForBytesWritten(timeoutMs)) return false;
  while (!socket.canReadLine())
    if (!socket.waitForReadyRead(timeoutMs)) return false;
  return socket.readLine() == kDone;
}

void SingleInstance::Listen() {
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  // A socket file left by a copy that died is in the way; the lock says it is ours now.
  QLocalServer::removeServer(name_);
  if (!server_->listen(name_)) return;
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket *socket = server_->nextPendingConnection()) {
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
}

}  // namespace qlc
