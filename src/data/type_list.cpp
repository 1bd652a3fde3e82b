#include "data/type_list.h"

#include <QFile>
#include <QFileInfo>

namespace qlc {

namespace {

// True when the file is missing or holds nothing but blanks, line breaks and a byte-order
// mark: it has no all-types line yet.
bool LacksAllTypesLine(const QString &path) {
  const QFileInfo info(path);
  // A folder or a device in its place is left to the append to report.
  if (!info.isFile()) return !info.exists();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.readAll();
  return SkipByteOrderMarks(bytes).trimmed().isEmpty();
}

}  // namespace

QStringList ListedTypes(const QString &typePath) {
  const TypesFile file = ReadTypeFile(typePath);
  if (file.report.missing) return {};
  QStringList names = file.names;
  if (!names.isEmpty()) names.removeFirst();
  return names;
}

AppendResult AppendType(const QString &typePath, const QString &line) {
  if (!LacksAllTypesLine(typePath)) return AppendLine(typePath, line);
  const bool existed = QFileInfo::exists(typePath);
  const qint64 oldSize = existed ? QFileInfo(typePath).size() : 0;
  AppendResult result = AppendLine(typePath, *TypeLine(QString::fromLatin1(kAllTypes)));
  if (!result.ok) return result;
  result = AppendLine(typePath, line);
  if (!result.ok) {
    // Take the all-types line back out.
    QFile file(typePath);
    UndoAppend(file, oldSize, existed, result);
  }
  return result;
}

}  // namespace qlc
