#include "platform/sysinfo.h"

#include <QByteArray>

namespace qlc {

KeyRead GetKeyValue(Registry &registry, std::uint32_t KeyRoot, const QString &KeyName,
                    const QString &SubKeyRef, QString &KeyVal) {
  Registry::Handle key = 0;
  if (registry.OpenKey(KeyRoot, KeyName.toLocal8Bit().toStdString(), kKeyAllAccess, key) !=
      kRegSuccess) {
    KeyVal.clear();
    return KeyRead::NotRead;
  }
  struct Closer {
    Registry &registry;
    Registry::Handle key;
    ~Closer() { registry.CloseKey(key); }
  } closer{registry, key};

  unsigned char buffer[kRegValueBufferSize];
  std::uint32_t length = kRegValueBufferSize;
  std::uint32_t type = 0;
  if (registry.QueryValue(key, SubKeyRef.toLocal8Bit().toStdString(), type, buffer, length) !=
          kRegSuccess ||
      length > kRegValueBufferSize) {
    KeyVal.clear();
    return KeyRead::NotRead;
  }
  if (length == 0) return KeyRead::Failed;
  QByteArray data(reinterpret_cast<const char *>(buffer), qsizetype(length));
  if (data.endsWith('\0')) data.chop(1);

  if (type == kRegSz) {
    KeyVal = QString::fromLocal8Bit(data);
  } else if (type == kRegDword) {
    // Little-endian; a high byte dropped as a trailing NUL was zero.
    std::uint32_t value = 0;
    for (qsizetype i = std::min<qsizetype>(data.size(), 4); i-- > 0;)
      value = (value << 8) | static_cast<unsigned char>(data[i]);
    KeyVal = QStringLiteral("&h") + QString::number(value, 16).toUpper();
  }
  return KeyRead::Read;
}

QString StartSysInfo(const Services &services) {
  QString program;
  bool fromRegistry = false;
  QString value;
  if (services.registry) {
    Registry &registry = *services.registry;
    switch (GetKeyValue(registry, kHKeyLocalMachine,
                        QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                        QStringLiteral("PATH"), value)) {
      case KeyRead::Failed:
        return kSysInfoUnavailable;
      case KeyRead::Read:
        program = value;
        fromRegistry = true;
        break;
      case KeyRead::NotRead:
        switch (GetKeyValue(registry, kHKeyLocalMachine,
                            QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                            QStringLiteral("MSINFO"), value)) {
          case KeyRead::Failed:
            return kSysInfoUnavailable;
          case KeyRead::Read: {
            const QString candidate = value + QStringLiteral("\\MSINFO32.EXE");
            if (!services.programs->FileExists(candidate)) return kSysInfoUnavailable;
            program = candidate;
            fromRegistry = true;
            break;
          }
          case KeyRead::NotRead:
            break;
        }
        break;
    }
  }
  if (!fromRegistry) {
    // Desktop programs tried in this order when the registry names none.
#ifndef Q_OS_WIN
    for (const char *name : {"kinfocenter", "hardinfo2", "hardinfo"}) {
      program = services.programs->FindOnPath(QString::fromLatin1(name));
      if (!program.isEmpty()) break;
    }
#endif
    if (program.isEmpty()) return kSysInfoUnavailable;
  }
  if (!services.programs->StartDetached(program)) return kSysInfoUnavailable;
  return {};
}

}  // namespace qlc
