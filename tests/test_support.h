#pragma once
// Small helpers shared by the tests.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>
#include <cstddef>

namespace qlc::test {

inline QString SourcePath(const QString &relative) {
  return QStringLiteral(QLC_SOURCE_DIR "/") + relative;
}

inline bool WriteBytes(const QString &path, const QByteArray &bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString &path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The rows of a data-driven test: a table of structs written with designated initialisers,
// each with a `name`, given to Qt Test as one column "row" (QFETCH(Row, row)).
template <typename Row, std::size_t N>
void AddRows(const Row (&rows)[N]) {
  QTest::addColumn<Row>("row");
  for (const Row &r : rows) QTest::newRow(r.name) << r;
}

}  // namespace qlc::test
