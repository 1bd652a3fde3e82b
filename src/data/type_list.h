#pragma once
// type.txt as the Add dialogs use it: the listed types, and appending a new one.

#include <QString>
#include <QStringList>

#include "data/conversion_data.h"

namespace qlc {

// The types of type.txt that the Add dialogs offer: every line but line 1 (the all-types
// entry), in file order. A file that cannot be read gives an empty list.
QStringList ListedTypes(const QString &typePath);

// Appends the type line, first writing the all-types line when the file has none, so that
// the new type does not become line 1 (which the Add dialogs hide and the main window shows
// as "ALL"). On failure the file is as it was.
AppendResult AppendType(const QString &typePath, const QString &line);

}  // namespace qlc
