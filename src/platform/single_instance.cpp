#include "platform/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <algorithm>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace qlc {

namespace {

QString UserKey() {
#ifdef Q_OS_WIN
  return qEnvironmentVariable("USERNAME");
#else
  return QString::number(::getuid());
#endif
}

}  // namespace

// The user and the canonical folder, hashed: the same folder reached through a link is the
// same folder, and the name stays short.
QString SingleInstance::NameFor(const QString &dataFolder) {
  QString folder = QFileInfo(dataFolder).canonicalFilePath();
  if (folder.isEmpty()) folder = QDir(dataFolder).absolutePath();
  const QString user = UserKey();
  const QByteArray key = (user + u'\n' + folder).toUtf8();
  return QStringLiteral("qlconvert-%1-%2")
      .arg(user, QString::fromLatin1(
                     QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24)));
}

SingleInstance::Start SingleInstance::Claim(int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  for (;;) {
    switch (Take()) {
      case Took::Taken:
        return Start::First;
      case Took::Failed:
        return Start::Unguarded;
      case Took::Held:
        break;
    }
    // The holder may still be starting (not listening yet) or ending (its name soon gone).
    switch (HandOver(std::max(timeoutMs - int(timer.elapsed()), 0))) {
      case Answer::Done:
        return Start::HandedOver;
      case Answer::Foreign:
        return Start::Unguarded;
      case Answer::NoOne:
      case Answer::Silent:
        break;
    }
    if (timer.elapsed() >= timeoutMs) return Start::NoAnswer;
    QThread::msleep(20);
  }
}

}  // namespace qlc
