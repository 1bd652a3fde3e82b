// Failed appends leave files as they were; the program starts on any files.

#include <unistd.h>

#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QtTest>

#include "data/conversion_data.h"
#include "main_window/frm_main.h"
#include "table/flex_grid.h"
#include "test_support.h"

using namespace qlc;
using qlc::test::ReadBytes;
using qlc::test::WriteBytes;

namespace {

const QByteArray kRecords =
    "\"Meters (m)\",\"Feet (ft)\",\"LENGTH\",\"3.28083989501312\",0\r\n"
    "\"Celsius\",\"Fahrenheit\",\"TEMPERATURE\",\"1.8\",32";  // no final line break

enum class Fault { ReadOnly, FolderLocked, SizeLimit, FolderInPlace };

// Every entry of a folder with its bytes, a folder by its entries.
QString Snapshot(const QString &folder) {
  QString s;
  for (const QFileInfo &f : QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot))
    s += f.fileName() +
         (f.isDir() ? "/" + Snapshot(f.filePath())
                    : "=" + QString::fromLatin1(ReadBytes(f.filePath()).toHex())) +
         ';';
  return s;
}

struct AppendRow {
  const char *name;
  Fault fault;
};

struct StartRow {
  const char *name;
  QByteArray types, conversions;  // the files' bytes, or "<dir>" for a folder
  int records;                    // what the window shows
  QString firstFrom;              // the first record's From unit
  QStringList said = {};          // parts of the start-up message
};

}  // namespace

class TestFaults : public QObject {
  Q_OBJECT

 private slots:
  // The append runs in append_worker: under a file size limit, so that the disk fills up
  // part way through the line, or as nobody where permissions must refuse it (root ignores
  // them).
  void appendFails_data() {
    const AppendRow rows[] = {{.name = "read-only file", .fault = Fault::ReadOnly},
                              {.name = "folder not writable", .fault = Fault::FolderLocked},
                              {.name = "full mid-line", .fault = Fault::SizeLimit},
                              {.name = "folder in place", .fault = Fault::FolderInPlace}};
    test::AddRows(rows);
  }
  void appendFails() {
    QFETCH(AppendRow, row);
    const Fault fault = row.fault;
    const bool asNobody =
        (fault == Fault::ReadOnly || fault == Fault::FolderLocked) && ::geteuid() == 0;
    if (asNobody && QStandardPaths::findExecutable("setpriv").isEmpty())
      QSKIP("running as root and setpriv is missing");
    QTemporaryDir dir;
    const auto rx = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                    QFile::ReadOther | QFile::ExeOther;
    QVERIFY(QFile::setPermissions(dir.path(), rx | QFile::WriteOwner));  // nobody must reach it
    const QString path = dir.filePath("convert.txt");
    if (fault == Fault::FolderInPlace)
      QVERIFY(QDir(dir.path()).mkdir("convert.txt"));
    else if (fault != Fault::FolderLocked)
      QVERIFY(WriteBytes(path, kRecords));
    if (fault == Fault::ReadOnly)
      QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadOther));
    if (fault == Fault::FolderLocked) QVERIFY(QFile::setPermissions(dir.path(), rx));
    const QString before = Snapshot(dir.path());
    QStringList args{QLC_APPEND_WORKER, path};
    if (fault == Fault::SizeLimit) args << QString::number(kRecords.size() + 20);
    if (asNobody)
      args =
          QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"} + args;
    QProcess worker;
    worker.start(args.takeFirst(), args);
    QVERIFY(worker.waitForFinished(60000));
    QFile::setPermissions(dir.path(), rx | QFile::WriteOwner);
    QVERIFY2(worker.exitCode() == 1 && !worker.readAllStandardOutput().trimmed().isEmpty(),
             "the append must fail and say why");
    QCOMPARE(Snapshot(dir.path()), before);
  }

  void startUpSurvives_data() {
    const QByteArray types = "\"ALL\"\r\n\"LENGTH\"\r\n", dir = "<dir>";
    const QByteArray good = "\"a\",\"b\",\"LENGTH\",\"2\",0\r\n";
    QByteArray many;
    for (int i = 0; i < 40000; ++i)
      many += "\"u" + QByteArray::number(i) + "\",\"v\",\"T\",1,0\r\n";
    QByteArray noise(64 << 10, Qt::Uninitialized);
    QRandomGenerator random(11);
    for (char &c : noise) c = char(random.bounded(256));
    auto raw = [](const auto &text) { return QByteArray(text, sizeof text - 1); };  // NULs too
    // clang-format off
    const StartRow rows[] = {
        {.name = "40,000 records", .types = types, .conversions = many, .records = kMaxConversionRecords, .firstFrom = "u0",
         .said = {"convert.txt holds more than 32766 entries; only the first 32766"}},
        {.name = "10 MB line", .types = types, .conversions = good + QByteArray(10 << 20, 'x') + "\r\n" + good, .records = 2,
         .firstFrom = "a", .said = {"convert.txt: 1 line(s)", "first at line 2"}},
        {.name = "NUL bytes", .types = raw("\"ALL\"\r\n\"LE\0NGTH\"\r\n\"MASS\"\r\n"), .conversions = good + raw("\"c\",\"d\0\",\"T\",\"1\",0\r\n") + good,
         .records = 2, .firstFrom = "a", .said = {"type.txt: 1 line(s)", "convert.txt: 1 line(s)"}},
        // Not UTF-8, so read as Windows-1252: every byte stays the character it was.
        {.name = "invalid UTF-8", .types = types, .conversions = "\"\xb0\",\"\x80\",\"T\",1,0\r\n\"\xc3\",0,0,0,0", .records = 2, .firstFrom = "\u00b0"},
        {.name = "random binary data", .types = noise, .conversions = noise + "\r\n" + good, .records = 1, .firstFrom = "a",
         .said = {"type.txt: ", "convert.txt: "}},
        {.name = "folders in place", .types = dir, .conversions = dir, .records = 0, .firstFrom = "",
         .said = {"type.txt could not", "convert.txt could not"}}};
    // clang-format on
    test::AddRows(rows);
  }

  // The program starts on any files, shows what it could read and says what it left out.
  void startUpSurvives() {
    QFETCH(StartRow, row);
    QTemporaryDir dir;
    for (const auto &[name, bytes] :
         {std::pair{"type.txt", row.types}, std::pair{"convert.txt", row.conversions}})
      QVERIFY(bytes == "<dir>" ? QDir(dir.path()).mkdir(name)
                               : WriteBytes(dir.filePath(name), bytes));
    const QString oldDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    frmMain window;
    QDir::setCurrent(oldDir);
    QCOMPARE(window.MSFlexGrid1->Rows(), row.records + 1);
    if (row.records > 0) QCOMPARE(window.MSFlexGrid1->TextMatrix(1, 0), row.firstFrom);
    const QString problems = window.StartupProblems();
    for (const QString &part : row.said) QVERIFY2(problems.contains(part), qPrintable(problems));
    if (row.said.isEmpty()) QCOMPARE(problems, QString());
  }
};

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
