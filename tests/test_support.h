#pragma once
// Small helpers shared by the tests.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <cstddef>

namespace qlc::test {

inline QString SourcePath(const QString &relative) {
  return QStringLiteral(QLC_SOURCE_DIR "/") + relative;
}

inline bool WriteBytes(const QString &path, const QByteArray &bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return f.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString &path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

// The rows of a data-driven test: a table of structs written with designated initialisers,
// each with a `name`, given to Qt Test as one column "row" (QFETCH(Row, row)).
template <typename Row, std::size_t N>
void AddRows(const Row (&rows)[N]) {
  QTest::addColumn<Row>("row");
  for (const Row &r : rows) QTest::newRow(r.name) << r;
}

}  // namespace qlc::test
