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

enum class Fault { ReadOnly, FolderLocked, DevFull, SizeLimit, FolderInPlace, BadField };

// Every entry of a folder with its bytes; a link by its target, a folder by its entries.
QString Snapshot(const QString &folder) {
  QString s;
  for (const QFileInfo &f :
       QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System))
    s += f.fileName() +
         (f.isSymLink() ? "->" + f.symLinkTarget()
          : f.isDir()   ? "/" + Snapshot(f.filePath())
                        : "=" + QString::fromLatin1(ReadBytes(f.filePath()).toHex())) +
         ';';
  return s;
}

}  // namespace

class TestFaults : public QObject {
  Q_OBJECT

 private slots:
  void appendFails_data() {
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("from");  // the new record's From unit
    QTest::newRow("read-only file") << Fault::ReadOnly << "in";
    QTest::newRow("folder not writable") << Fault::FolderLocked << "in";
    QTest::newRow("/dev/full") << Fault::DevFull << "in";
    QTest::newRow("full mid-line") << Fault::SizeLimit << "in";  // the part written is cut off
    QTest::newRow("folder in place") << Fault::FolderInPlace << "in";
    QTest::newRow("NUL in a field") << Fault::BadField << QStringView(u"A\0B", 3).toString();
    QTest::newRow("CR LF in a field") << Fault::BadField << "A\r\nB";
  }

  void appendFails() {
    QFETCH(Fault, fault);
    QFETCH(QString, from);
    // Root ignores permissions: those appends run in append_worker as nobody.
    const bool asNobody =
        (fault == Fault::ReadOnly || fault == Fault::FolderLocked) && ::geteuid() == 0;
    if (asNobody && QStandardPaths::findExecutable("setpriv").isEmpty())
      QSKIP("running as root and setpriv is missing");
    if (fault == Fault::DevFull && !QFileInfo::exists("/dev/full")) QSKIP("no /dev/full");
    QTemporaryDir dir;
    const auto rx = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                    QFile::ReadOther | QFile::ExeOther;
    QVERIFY(QFile::setPermissions(dir.path(), rx | QFile::WriteOwner));  // nobody must reach it
    const QString path = dir.filePath("convert.txt");
    if (fault == Fault::DevFull) QVERIFY(QFile::link("/dev/full", path));
    if (fault == Fault::FolderInPlace) QVERIFY(QDir(dir.path()).mkdir("convert.txt"));
    if (fault != Fault::DevFull && fault != Fault::FolderInPlace && fault != Fault::FolderLocked)
      QVERIFY(WriteBytes(path, kRecords));
    if (fault == Fault::ReadOnly)
      QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadOther));
    if (fault == Fault::FolderLocked) QVERIFY(QFile::setPermissions(dir.path(), rx));
    const QString before = Snapshot(dir.path());

    AppendResult r;
    if (asNobody || fault == Fault::SizeLimit) {
      QStringList args{QLC_APPEND_WORKER, path};
      if (fault == Fault::SizeLimit) args << QString::number(kRecords.size() + 20);
      if (asNobody)
        args =
            QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"} + args;
      QProcess worker;
      worker.start(args.takeFirst(), args);
      QVERIFY(worker.waitForFinished(60000));
      r = {worker.exitCode() == 0, QString::fromUtf8(worker.readAllStandardOutput()).trimmed()};
    } else {
      r = AppendLine(path, *RecordLine(from, "Feet (ft)", "LENGTH", "", 0));
    }
    QFile::setPermissions(dir.path(), rx | QFile::WriteOwner);
    QVERIFY2(!r.ok && !r.error.isEmpty(), "the append must fail and say why");
    QCOMPARE(Snapshot(dir.path()), before);
  }

  // A file of only a byte-order mark, or ending in a lone CR, needs no CR LF before the line.
  void appendAfterBomOrLoneCr() {
    QTemporaryDir dir;
    const QString path = dir.filePath("type.txt");
    for (const QByteArray &before : {QByteArray("\xEF\xBB\xBF"), QByteArray("\"ALL\"\r")}) {
      QVERIFY(WriteBytes(path, before));
      QVERIFY(AppendLine(path, "\"X\"").ok);
      QCOMPARE(ReadBytes(path), before + "\"X\"\r\n");
    }
  }

  void startUpSurvives_data() {
    QTest::addColumn<QByteArray>("types");  // bytes of type.txt, or "<dir>" for a folder
    QTest::addColumn<QByteArray>("conversions");
    QTest::addColumn<int>("records");        // what the window shows
    QTest::addColumn<QString>("firstFrom");  // the first record's From unit
    QTest::addColumn<QStringList>("said");   // parts of the start-up message
    const QByteArray types = "\"ALL\"\r\n\"LENGTH\"\r\n";
    const QByteArray good = "\"a\",\"b\",\"LENGTH\",\"2\",0\r\n";
    QByteArray many;
    for (int i = 0; i < 40000; ++i)
      many += "\"u" + QByteArray::number(i) + "\",\"v\",\"T\",1,0\r\n";
    QByteArray noise(64 << 10, Qt::Uninitialized);
    QRandomGenerator random(11);
    for (char &c : noise) c = char(random.bounded(256));
    auto raw = [](const auto &text) { return QByteArray(text, sizeof text - 1); };  // NULs too

    // clang-format off
    QTest::newRow("40,000 records") << types << many << kMaxConversionRecords << "u0" << QStringList{"convert.txt holds more than 32766 entries; only the first 32766"};
    QTest::newRow("10 MB line") << types << good + QByteArray(10 << 20, 'x') + "\r\n" + good << 2 << "a" << QStringList{"convert.txt: 1 line(s)", "first at line 2"};
    QTest::newRow("NUL bytes") << raw("\"ALL\"\r\n\"LE\0NGTH\"\r\n\"MASS\"\r\n") << good + raw("\"c\",\"d\0\",\"T\",\"1\",0\r\n") + good << 2 << "a"
                               << QStringList{"type.txt: 1 line(s)", "convert.txt: 1 line(s)"};
    // Not UTF-8, so read as Windows-1252: every byte stays the character it was.
    QTest::newRow("invalid UTF-8") << types << QByteArray("\"\xb0\",\"\x80\",\"T\",1,0\r\n\"\xc3\",0,0,0,0") << 2 << "\u00b0" << QStringList();
    QTest::newRow("CR-only line ends") << QByteArray("\"ALL\"\r\"LENGTH\"\r") << QByteArray("\"a\",0,\"T\",0,0\r\"c\",0,0,0,0\r\"e\",0,0,0,0") << 3 << "a" << QStringList();
    QTest::newRow("random binary data") << noise << noise + "\r\n" + good << 1 << "a" << QStringList{"type.txt: ", "convert.txt: "};
    QTest::newRow("folders in place") << QByteArray("<dir>") << QByteArray("<dir>") << 0 << "" << QStringList{"type.txt could not", "convert.txt could not"};
    // clang-format on
  }

  // The program starts on any files, shows what it could read and says what it left out.
  void startUpSurvives() {
    QFETCH(QByteArray, types);
    QFETCH(QByteArray, conversions);
    QFETCH(int, records);
    QFETCH(QString, firstFrom);
    QFETCH(QStringList, said);
    QTemporaryDir dir;
    for (const auto &[name, bytes] :
         {std::pair{"type.txt", types}, std::pair{"convert.txt", conversions}})
      QVERIFY(bytes == "<dir>" ? QDir(dir.path()).mkdir(name)
                               : WriteBytes(dir.filePath(name), bytes));
    const QString oldDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    frmMain window;
    QDir::setCurrent(oldDir);
    QCOMPARE(window.MSFlexGrid1->Rows(), records + 1);
    if (records > 0) QCOMPARE(window.MSFlexGrid1->TextMatrix(1, 0), firstFrom);
    const QString problems = window.StartupProblems();
    for (const QString &part : said) QVERIFY2(problems.contains(part), qPrintable(problems));
    if (said.isEmpty()) QCOMPARE(problems, QString());
  }
};

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
