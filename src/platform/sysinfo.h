#pragma once
// Finding and starting the system information program.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/registry.h"

namespace qlc {

enum class KeyRead {
  Read,     // the value was read (a type other than text or number leaves the text as it was)
  NotRead,  // the key or the value is missing, or the value is longer than the buffer
  Failed,   // the value has no data at all: an error the caller reports
};

// Reads one registry value into KeyVal. The key, once opened, is always closed again.
KeyRead GetKeyValue(Registry &registry, std::uint32_t KeyRoot, const QString &KeyName,
                    const QString &SubKeyRef, QString &KeyVal);

// What StartSysInfo needs from the system; tests put doubles in every slot.
struct SysInfoServices {
  std::shared_ptr<Registry> registry;
  std::function<bool(const QString &path)> fileExists;
  std::function<QString(const QString &name)> findOnPath;  // full path, or empty
  std::function<bool(const QString &program)> startDetached;
  std::function<void(const QString &text)> showMessage;
  // Desktop programs tried in this order when the registry names none.
  QStringList desktopPrograms;
};

inline const QString kSysInfoUnavailable =
    QStringLiteral("System Information Is Unavailable At This Time");

// The system's own services, with the given way to show a message.
SysInfoServices SystemSysInfoServices(std::function<void(const QString &text)> showMessage);

void StartSysInfo(const SysInfoServices &services);

}  // namespace qlc
