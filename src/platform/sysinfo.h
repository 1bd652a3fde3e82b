#pragma once
// Finding and starting the system information program.

#include <QString>
#include <cstdint>

#include "platform/registry.h"
#include "platform/services.h"

namespace qlc {

enum class KeyRead {
  Read,     // the value was read (a type other than text or number leaves the text as it was)
  NotRead,  // the key or the value is missing, or the value is longer than the buffer
  Failed,   // the value has no data at all: an error the caller reports
};

// Reads one registry value into KeyVal. The key, once opened, is always closed again.
KeyRead GetKeyValue(Registry &registry, std::uint32_t KeyRoot, const QString &KeyName,
                    const QString &SubKeyRef, QString &KeyVal);

inline const QString kSysInfoUnavailable =
    QStringLiteral("System Information Is Unavailable At This Time");

// Finds the system information program through the registry, else among the desktop's own,
// and starts it. Returns the message to show when that fails, else an empty text.
QString StartSysInfo(const Services &services);

}  // namespace qlc
