// Failed appends leave files as they were; concurrent appends tear no line; any file loads.

#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QtTest>

#include "data/conversion_data.h"
#include "main_window/frm_main.h"
#include "table/flex_grid.h"
#include "test_support.h"
#include "widgets/pick_combo.h"

using namespace qlc;
using qlc::test::ReadBytes;
using qlc::test::WriteBytes;

namespace {

const QByteArray kRecord = "\"m\",\"ft\",\"LENGTH\",\"3.28083989501312\",0";  // no line end

const QStringList kAsNobody{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"};

bool Chmod(const QString &path, mode_t mode) {
  return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

struct AppendRow {
  const char *name;
  QByteArray file = {};  // convert.txt: its bytes, "<dir>" for a folder, a path to link to, null
  mode_t fileMode = 0644, folderMode = 0755;
  qsizetype sizeLimit = 0;  // what the worker may write: the disk fills up mid-line
  const char *said = "";    // a part of the worker's message
};

struct StartRow {
  const char *name;
  QByteArray types, conversions;  // the files' bytes, or "<dir>" for a folder
  int records;                    // what the window shows
  QString firstFrom;              // the first record's From unit
  QStringList said = {};          // parts of the start-up message
  int chooser = 2;                // the type chooser's entries; -1: not counted
};

}  // namespace

class TestFaults : public QObject {
  Q_OBJECT

 private slots:
  // The append runs in append_worker, as nobody where permissions must refuse it (not root).
  void appendFails_data() {
    // clang-format off
    const AppendRow rows[] = {{.name = "read-only file", .file = kRecord, .fileMode = 0444}, {.name = "folder not writable", .folderMode = 0555},
        {.name = "full mid-line", .file = kRecord, .sizeLimit = kRecord.size() + 20}, {.name = "folder in place", .file = "<dir>"},
        // A device cannot be cut back: the message says the file may not be as it was.
        {.name = "full, not put back", .file = "/dev/full", .said = "could not be put back as it was"}};
    // clang-format on
    test::AddRows(rows);
  }
  void appendFails() {
    QFETCH(AppendRow, row);
    const bool asNobody = ::geteuid() == 0 && (row.fileMode != 0644 || row.folderMode != 0755);
    if (asNobody && QStandardPaths::findExecutable("setpriv").isEmpty())
      QSKIP("running as root and setpriv is missing");
    QTemporaryDir dir;
    const QString path = dir.filePath("convert.txt");
    if (!row.file.isNull())
      QVERIFY(row.file == "<dir>"        ? QDir(dir.path()).mkdir("convert.txt")
              : row.file.startsWith('/') ? QFile::link(row.file, path)
                                         : WriteBytes(path, row.file) && Chmod(path, row.fileMode));
    QVERIFY(Chmod(dir.path(), row.folderMode));  // nobody must reach it
    const QDir folder(dir.path());               // what it holds, and the file's bytes
    const auto all = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
    auto snapshot = [&] {
      return folder.entryList(all).join(u'|') +
             (QFileInfo(path).isFile() ? ReadBytes(path).toHex() : QByteArray());
    };
    const QString before = snapshot();
    QStringList args{QLC_APPEND_WORKER, path, "1"};
    if (row.sizeLimit) args << QString::number(row.sizeLimit);
    if (asNobody) args = kAsNobody + args;
    QProcess worker;
    worker.start(args.takeFirst(), args);
    QVERIFY(worker.waitForFinished(60000) && Chmod(dir.path(), 0755));
    const QString said = worker.readAllStandardOutput().trimmed();
    QVERIFY2(worker.exitCode() == 1 && !said.isEmpty() && said.contains(row.said),
             qPrintable("the append must fail and say why: " + said));
    QCOMPARE(snapshot(), before);
  }

  // Two processes appending 1,000 records each at once: every line whole, each one's
  // records all there and in its own order.
  void twoProcessesAppendAtOnce() {
    QTemporaryDir dir;
    const QString path = dir.filePath("convert.txt");
    QVERIFY(WriteBytes(path, kRecord));
    QProcess a, b;
    for (QProcess *w : {&a, &b}) w->start(QLC_APPEND_WORKER, {path, "1000"});
    for (QProcess *w : {&a, &b}) QVERIFY(w->waitForFinished(240000) && w->exitCode() == 0);
    const QByteArray bytes = ReadBytes(path);
    QVERIFY(bytes.startsWith(kRecord + "\r\n") && bytes.endsWith("\r\n"));
    const ConversionTable file = ParseConversions(bytes, kEnglishSeparators);
    const std::vector<ConversionRecord> records = file.Records();
    QVERIFY(file.report.skippedLines == 0 && records.size() == 1 + 2000);  // none torn
    QHash<QString, int> next;  // writer -> its next record
    for (std::size_t r = 1; r < records.size(); ++r) {
      const QString from = records[r].FromUnit, writer = from.section(u' ', 0, 0);
      QCOMPARE(from, QString("%1 %2 %3").arg(writer).arg(next[writer]++).arg(QString(200, 'x')));
    }
    QCOMPARE(next.size(), 2);
  }

  void startUpSurvives_data() {
    const QByteArray types = "\"ALL\"\r\n\"LENGTH\"\r\n", dir = "<dir>";
    const QByteArray good = "\"a\",\"b\",\"LENGTH\",\"2\",0\r\n";
    QByteArray many, manyTypes;  // over either limit; the types by one
    for (int i = 0; i < 40000; ++i)
      many += "\"u" + QByteArray::number(i) + "\",\"v\",\"T\",1,0\r\n";
    for (int i = 0; i <= kMaxTypeLines; ++i) manyTypes += "\"T" + QByteArray::number(i) + "\"\r\n";
    QByteArray noise(64 << 10, Qt::Uninitialized);
    QRandomGenerator(11).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    auto raw = [](const auto &text) { return QByteArray(text, sizeof text - 1); };  // NULs too
    // clang-format off
    const StartRow rows[] = {
        {.name = "40,000 records, 32,768 types", .types = manyTypes, .conversions = many, .records = kMaxConversionRecords, .firstFrom = "u0",
         .said = {"type.txt holds more than 32767 entries; only the first 32767", "convert.txt holds more than 32766 entries; only the first 32766"}, .chooser = kMaxTypeLines},
        // Without a line the chooser still has its one empty entry.
        {.name = "empty files", .types = "", .conversions = "", .records = 0, .firstFrom = "", .chooser = 1},
        {.name = "10 MB line", .types = types, .conversions = good + QByteArray(10 << 20, 'x') + "\r\n" + good, .records = 2,
         .firstFrom = "a", .said = {"convert.txt: 1 line(s)", "first at line 2"}},
        {.name = "NUL bytes", .types = raw("\"ALL\"\r\n\"LE\0NGTH\"\r\n\"MASS\"\r\n"), .conversions = good + raw("\"c\",\"d\0\",\"T\",\"1\",0\r\n") + good,
         .records = 2, .firstFrom = "a", .said = {"type.txt: 1 line(s)", "convert.txt: 1 line(s)"}},
        // Not UTF-8, so read as Windows-1252: every byte stays the character it was.
        // Each line in its own encoding; the note tells of the one line that differs.
        {.name = "one Windows-1252 line", .types = types, .conversions = "\"°C\",\"K\",\"T\",1,273.15\r\n\"\xB0\x46\",\"K\",\"T\",1,0\r\n" + good,
         .records = 3, .firstFrom = "°C", .said = {"convert.txt: 1 line(s) not in UTF-8", "Windows-1252, the first at line 2"}},
        {.name = "invalid UTF-8, CR-only line ends", .types = types, .conversions = "\"\xb0\",\"\x80\",\"T\",1,0\r\"\xc3\",0,0,0,0\r", .records = 2, .firstFrom = "\u00b0"},
        {.name = "random binary data", .types = noise, .conversions = noise + "\r\n" + good, .records = 1, .firstFrom = "a",
         .said = {"type.txt: ", "convert.txt: "}, .chooser = -1},
        {.name = "folders in place", .types = dir, .conversions = dir, .records = 0, .firstFrom = "",
         .said = {"type.txt could not", "convert.txt could not"}, .chooser = 1}};
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
    QVERIFY(QDir::setCurrent(dir.path()));  // the program reads its files from there
    frmMain window;
    QCOMPARE(window.MSFlexGrid1->Rows(), row.records + 1);
    if (row.records > 0) QCOMPARE(window.MSFlexGrid1->TextMatrix(1, 0), row.firstFrom);
    if (row.chooser >= 0) QCOMPARE(window.Combo1->count(), row.chooser);
    const QString problems = window.StartupProblems();
    for (const QString &part : row.said) QVERIFY2(problems.contains(part), qPrintable(problems));
    QVERIFY(!row.said.isEmpty() || problems.isEmpty());
  }
};

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
