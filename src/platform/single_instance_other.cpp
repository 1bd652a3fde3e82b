// One running copy on Linux: an abstract unix socket named from the user and the folder is
// itself the lock. Binding it succeeds for the first copy only, the kernel drops the name when
// the process ends however it ends (no file is left behind, no folder needs to be writable),
// and the socket's peer credentials say which user holds it. Elsewhere (no abstract names)
// binding fails and the program runs unguarded.
#include <errno.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QSocketNotifier>
#include <cstddef>
#include <cstring>
#include <utility>

#include "platform/single_instance.h"

namespace qlc {

namespace {

constexpr auto &kRestore = SingleInstance::kRestore;
constexpr auto &kDone = SingleInstance::kDone;
constexpr qsizetype kLongestRequest = 64;

struct Address {
  sockaddr_un un{};
  socklen_t length = 0;
};

Address AbstractAddress(const QString &name) {
  Address address;
  address.un.sun_family = AF_UNIX;
  // The name is short ASCII; the leading NUL of sun_path puts it in the abstract namespace.
  const QByteArray bytes = name.toUtf8().left(int(sizeof address.un.sun_path) - 1);
  std::memcpy(address.un.sun_path + 1, bytes.constData(), size_t(bytes.size()));
  address.length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + size_t(bytes.size()));
  return address;
}

// The user of the process at the other end of a connected socket.
bool SameUser(int fd) {
  ucred peer{};
  socklen_t length = sizeof peer;
  return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && peer.uid == ::getuid();
}

// Close-on-exec, so that no program started from here (the About box's) keeps the name alive.
int NewSocket() {
  return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor &) = delete;
  Descriptor &operator=(const Descriptor &) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// Reads one request from a later start and answers it; owned by the listener's object.
void Serve(SingleInstance *instance, int fd) {
  auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read, instance);
  QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                   [instance, notifier, fd, request = QByteArray()]() mutable {
                     char chunk[kLongestRequest];
                     const ssize_t got = ::read(fd, chunk, sizeof chunk);
                     if (got < 0 && (errno == EAGAIN || errno == EINTR)) return;
                     if (got > 0) request.append(chunk, got);
                     // Wait for the whole line, but not for ever for a long one.
                     if (got > 0 && !request.contains('\n') && request.size() <= kLongestRequest)
                       return;
                     // A start that gave up waiting has told its user that this copy does
                     // not answer: it is not answered later, when this copy runs again.
                     pollfd asker{fd, POLLRDHUP, 0};
                     const bool waiting =
                         ::poll(&asker, 1, 0) == 0 || !(asker.revents & (POLLRDHUP | POLLHUP));
                     if (request == kRestore && waiting) {
                       emit instance->RestoreRequested();
                       // Fits in a new socket's buffer: never blocks, never partial.
                       (void)::send(fd, kDone, sizeof kDone - 1, MSG_NOSIGNAL);
                     }
                     notifier->setEnabled(false);
                     ::close(fd);
                     notifier->deleteLater();
                   });
}

}  // namespace

struct SingleInstance::Listener {
  Descriptor socket;
  std::unique_ptr<QSocketNotifier> notifier;  // goes before the socket closes
};

SingleInstance::SingleInstance(const QString &dataFolder, QObject *parent)
    : QObject(parent), name_(NameFor(dataFolder)) {}

SingleInstance::~SingleInstance() = default;

SingleInstance::Took SingleInstance::Take() {
  Descriptor socket(NewSocket());
  if (socket.get() < 0) return Took::Failed;
  const Address address = AbstractAddress(name_);
  if (::bind(socket.get(), reinterpret_cast<const sockaddr *>(&address.un), address.length) != 0)
    return errno == EADDRINUSE ? Took::Held : Took::Failed;
  // Listening at once costs one system call; later starts queue up until the event loop runs.
  if (::listen(socket.get(), 16) != 0) return Took::Failed;
  const int fd = socket.release();
  listener_.reset(
      new Listener{Descriptor(fd), std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read)});
  connect(listener_->notifier.get(), &QSocketNotifier::activated, this, [this] {
    for (;;) {
      const int fd =
          ::accept4(listener_->socket.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
      if (fd < 0) return;
      if (SameUser(fd))
        Serve(this, fd);
      else
        ::close(fd);
    }
  });
  return Took::Taken;
}

SingleInstance::Answer SingleInstance::HandOver(int timeoutMs) {
  Descriptor socket(NewSocket());
  if (socket.get() < 0) return Answer::NoOne;
  const Address address = AbstractAddress(name_);
  // Refused: bound but not listening yet, or closing; EAGAIN: its queue is full.
  if (::connect(socket.get(), reinterpret_cast<const sockaddr *>(&address.un), address.length) != 0)
    return Answer::NoOne;
  // Anyone may bind any abstract name: only a process of our own user may answer for the folder.
  if (!SameUser(socket.get())) return Answer::Foreign;
  if (::send(socket.get(), kRestore, sizeof kRestore - 1, MSG_NOSIGNAL) != sizeof kRestore - 1)
    return Answer::NoOne;
  QElapsedTimer timer;
  timer.start();
  QByteArray reply;
  while (!reply.contains('\n') && reply.size() <= kLongestRequest) {
    pollfd ready{socket.get(), POLLIN, 0};
    const int left = timeoutMs - int(timer.elapsed());
    if (left <= 0 || ::poll(&ready, 1, left) == 0) return Answer::Silent;
    char chunk[kLongestRequest];
    const ssize_t got = ::read(socket.get(), chunk, sizeof chunk);
    if (got > 0)
      reply.append(chunk, got);
    else if (got == 0 || (errno != EAGAIN && errno != EINTR))
      return Answer::NoOne;  // closed without an answer: it is ending
  }
  return reply == kDone ? Answer::Done : Answer::NoOne;
}

}  // namespace qlc
