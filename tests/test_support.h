#pragma once
// Small helpers shared by the tests.

#include <QFile>
#include <QTest>
#include <cstddef>

namespace qlc::test {

inline QString SourcePath(const QString &path) {
  return QStringLiteral(QLC_SOURCE_DIR "/") + path;
}

inline bool WriteBytes(const QString &path, const QByteArray &bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString &path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A table of structs, each with a `name`, as the one column "row" of a data-driven test.
template <typename Row, std::size_t N>
void AddRows(const Row (&rows)[N]) {
  QTest::addColumn<Row>("row");
  for (const Row &r : rows) QTest::newRow(r.name) << r;
}

}  // namespace qlc::test
