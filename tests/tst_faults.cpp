// Faults around the data files: appends that fail must leave the file as it was, two
// programs appending at once must not tear lines, and start-up must survive any file.

#include <unistd.h>

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "data/conversion_data.h"
#include "dialogs/addconvert.h"
#include "dialogs/message_box.h"
#include "main_window/frm_main.h"
#include "main_window/pick_combo.h"
#include "table/flex_grid.h"
#include "test_support.h"

using namespace qlc;
using qlc::test::ReadBytes;
using qlc::test::WriteBytes;

namespace {

const QByteArray kRecords =
    "\"Meters (m)\",\"Feet (ft)\",\"LENGTH\",\"3.28083989501312\",0\r\n"
    "\"Celsius\",\"Fahrenheit\",\"TEMPERATURE\",\"1.8\",32";  // no final line break

// A byte literal that may hold NUL bytes.
template <std::size_t N>
QByteArray Bytes(const char (&text)[N]) {
  return QByteArray(text, N - 1);
}

enum class Fault {
  ReadOnlyFile,
  FolderWithoutWritePermission,
  FullDisk,
  FileSizeLimit,
  FolderInPlace,
  NulInLine,
  LineBreakInLine,
  OutsideWindows1252
};

struct Outcome {
  bool ok = false;
  QString error;
};

// Runs append_worker for one record; as root it runs as nobody, so that permissions count.
Outcome AppendInWorker(const QString &path, const QStringList &extra, bool unprivileged) {
  QProcess worker;
  QStringList args{path, QStringLiteral("1"), QStringLiteral("W")};
  args += extra;
  if (unprivileged) {
    worker.setProgram(QStringLiteral("setpriv"));
    args = QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                       QStringLiteral("--clear-groups"), QStringLiteral("--"),
                       QStringLiteral(QLC_APPEND_WORKER)} +
           args;
  } else {
    worker.setProgram(QStringLiteral(QLC_APPEND_WORKER));
  }
  worker.setArguments(args);
  worker.start();
  if (!worker.waitForFinished(60000) || worker.exitStatus() != QProcess::NormalExit)
    return {false, QStringLiteral("worker did not finish")};
  const QString out = QString::fromUtf8(worker.readAllStandardOutput()).trimmed();
  if (worker.exitCode() == 2) return {false, QString()};  // could not even start the append
  return {worker.exitCode() == 0, out};
}

// Every line of the file ends with CR LF: no torn line, no bare CR or LF.
bool AllLinesEndWithCrLf(const QByteArray &bytes) {
  const qsizetype pairs = bytes.count("\r\n");
  return bytes.endsWith("\r\n") && bytes.count('\r') == pairs && bytes.count('\n') == pairs;
}

}  // namespace

class TestFaults : public QObject {
  Q_OBJECT

 private slots:
  void appendFails_data();
  void appendFails();
  void appendStartsItsOwnLine_data();
  void appendStartsItsOwnLine();
  void dialogKeepsTypedTextOnFailure();
  void twoProcessesAppendAtOnce();
  void startUpSurvives_data();
  void startUpSurvives();
};

void TestFaults::appendFails_data() {
  QTest::addColumn<Fault>("fault");
  QTest::addColumn<QByteArray>("before");  // the file's bytes before the append
  QTest::addColumn<QString>("line");

  const QString record = *RecordLine("Inches (in)", "Feet (ft)", "LENGTH", "", 0);
  QTest::newRow("read-only file") << Fault::ReadOnlyFile << kRecords << record;
  QTest::newRow("folder without write permission")
      << Fault::FolderWithoutWritePermission << QByteArray() << record;
  QTest::newRow("full disk (/dev/full)") << Fault::FullDisk << QByteArray() << record;
  // The limit falls inside the new line: the part already written must be cut off again.
  QTest::newRow("disk fills up mid-line") << Fault::FileSizeLimit << kRecords << record;
  QTest::newRow("folder in place of the file") << Fault::FolderInPlace << QByteArray() << record;
  QTest::newRow("NUL in a field") << Fault::NulInLine << kRecords
                                  << *RecordLine(QStringView(u"A\0B", 3).toString(), "B", "C", "",
                                                 0);
  QTest::newRow("line break in a field")
      << Fault::LineBreakInLine << kRecords << *RecordLine("A\r\nB", "B", "C", "", 0);
  QTest::newRow("character outside Windows-1252")
      << Fault::OutsideWindows1252
      << QByteArray(
             "\"\xb0"
             "C\",\"K\",\"T\",\"1\",-273.15\r\n")
      << *RecordLine(QStringLiteral("\u00b5m"), QStringLiteral("\u03a9"), "C", "", 0);
}

void TestFaults::appendFails() {
  QFETCH(Fault, fault);
  QFETCH(QByteArray, before);
  QFETCH(QString, line);

  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  // The unprivileged worker must reach the folder.
  QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ReadOther |
                                        QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
  const QString path = dir.filePath("convert.txt");
  const bool root = ::geteuid() == 0;
  const bool haveSetpriv = !QStandardPaths::findExecutable("setpriv").isEmpty();

  Outcome outcome;
  switch (fault) {
    case Fault::ReadOnlyFile:
    case Fault::FolderWithoutWritePermission:
      if (root && !haveSetpriv)
        QSKIP("running as root and setpriv is missing: root ignores permissions");
      if (fault == Fault::ReadOnlyFile) {
        QVERIFY(WriteBytes(path, before));
        QVERIFY(
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
      } else {
        QVERIFY(QFile::setPermissions(
            dir.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
      }
      if (root) {
        outcome = AppendInWorker(path, {}, true);
      } else {
        const AppendResult r = AppendLine(path, line);
        outcome = {r.ok, r.error};
      }
      QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
      break;
    case Fault::FullDisk:
      if (!QFileInfo::exists("/dev/full")) QSKIP("this system has no /dev/full");
      QVERIFY(QFile::link("/dev/full", path));
      break;
    case Fault::FileSizeLimit:
      QVERIFY(WriteBytes(path, before));
      outcome = AppendInWorker(path, {QString::number(before.size() + 20)}, false);
      break;
    case Fault::FolderInPlace:
      QVERIFY(QDir(dir.path()).mkdir("convert.txt"));
      break;
    default:
      QVERIFY(WriteBytes(path, before));
      break;
  }
  if (fault == Fault::FullDisk || fault == Fault::FolderInPlace || fault == Fault::NulInLine ||
      fault == Fault::LineBreakInLine || fault == Fault::OutsideWindows1252) {
    const AppendResult r = AppendLine(path, line);
    outcome = {r.ok, r.error};
  }

  QVERIFY2(!outcome.ok, "the append should have failed");
  QVERIFY2(!outcome.error.isEmpty(), "a failed append must say why");
  const QFileInfo info(path);
  switch (fault) {
    case Fault::FullDisk:
      QCOMPARE(info.symLinkTarget(), QStringLiteral("/dev/full"));
      break;
    case Fault::FolderInPlace:
      QVERIFY(info.isDir());
      QVERIFY(QDir(path).isEmpty());
      break;
    case Fault::FolderWithoutWritePermission:
      QVERIFY(!info.exists());
      break;
    default:
      QCOMPARE(ReadBytes(path), before);
      break;
  }
  QCOMPARE(
      QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
      fault == Fault::FolderWithoutWritePermission ? QStringList() : QStringList{"convert.txt"});
}

void TestFaults::appendStartsItsOwnLine_data() {
  QTest::addColumn<QByteArray>("before");
  QTest::addColumn<QByteArray>("after");
  const QByteArray line = "\"X\"\r\n";
  QTest::newRow("no file") << QByteArray() << line;
  QTest::newRow("only a byte-order mark") << QByteArray("\xEF\xBB\xBF") << "\xEF\xBB\xBF" + line;
  QTest::newRow("last line without a break") << QByteArray("\"ALL\"") << "\"ALL\"\r\n" + line;
  QTest::newRow("last line ends with a lone CR") << QByteArray("\"ALL\"\r") << "\"ALL\"\r" + line;
}

// The new line never joins the one before it, and no blank line comes in between.
void TestFaults::appendStartsItsOwnLine() {
  QFETCH(QByteArray, before);
  QFETCH(QByteArray, after);
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  const QString path = dir.filePath("type.txt");
  if (!before.isEmpty()) QVERIFY(WriteBytes(path, before));
  QVERIFY(AppendLine(path, *TypeLine("X")).ok);
  QCOMPARE(ReadBytes(path), after);
  const TypesFile types = ParseTypes(after);
  QCOMPARE(types.names.back(), QStringLiteral("X"));
  QCOMPARE(types.report.skippedLines, 0);
}

// The Add Conversion dialog reports the failure with the file's name and stays open with
// everything typed.
void TestFaults::dialogKeepsTypedTextOnFailure() {
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  QVERIFY(QDir(dir.path()).mkdir("convert.txt"));
  QStringList messages;
  const MessageFunction previous = SetMessageFunction(
      [&](QWidget *, QMessageBox::Icon, const QString &text) { messages << text; });
  {
    addconvert dialog(nullptr, dir.path());
    dialog.Combo1->setEditText("LENGTH");
    dialog.Text1->setText("Inches (in)");
    dialog.Text2->setText("Feet (ft)");
    dialog.Text3->setText("0.0833333333333333");
    dialog.CommandOK_Click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.Combo1->currentText() + '|' + dialog.Text1->text() + '|' +
                 dialog.Text2->text() + '|' + dialog.Text3->text(),
             QStringLiteral("LENGTH|Inches (in)|Feet (ft)|0.0833333333333333"));
  }
  SetMessageFunction(previous);
  QCOMPARE(messages.size(), 1);
  QVERIFY2(messages[0].contains("convert.txt") && messages[0].contains("folder"),
           qPrintable(messages[0]));
  QVERIFY(QFileInfo(dir.filePath("convert.txt")).isDir());
}

void TestFaults::twoProcessesAppendAtOnce() {
  constexpr int kEach = 1000;
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  const QString path = dir.filePath("convert.txt");
  QVERIFY(WriteBytes(path, kRecords));  // its last line lacks the line break

  QProcess a, b;
  for (auto [worker, tag] : {std::pair{&a, "A"}, std::pair{&b, "B"}}) {
    worker->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    worker->start(QLC_APPEND_WORKER, {path, QString::number(kEach), tag});
  }
  for (QProcess *worker : {&a, &b}) {
    QVERIFY(worker->waitForFinished(240000));
    QCOMPARE(worker->exitStatus(), QProcess::NormalExit);
    QVERIFY2(worker->exitCode() == 0, worker->readAllStandardOutput().constData());
  }

  const QByteArray bytes = ReadBytes(path);
  QVERIFY(bytes.startsWith(kRecords + "\r\n"));
  QVERIFY(AllLinesEndWithCrLf(bytes));
  const ConversionsFile file = ParseConversions(bytes, kEnglishSeparators);
  QCOMPARE(file.report.skippedLines, 0);
  QCOMPARE(int(file.records.size()), 2 + 2 * kEach);
  // Each worker's records are all there, whole and in its own order.
  const QString padding(200, u'x');
  int next[2] = {0, 0};
  for (std::size_t r = 2; r < file.records.size(); ++r) {
    const ConversionRecord &rec = file.records[r];
    const int w = rec.FromUnit.startsWith(u'A') ? 0 : 1;
    const int i = next[w]++;
    QCOMPARE(rec.FromUnit, QStringLiteral("%1 %2 %3").arg(w ? "B" : "A").arg(i).arg(padding));
    QCOMPARE(rec.ToUnit, QStringLiteral("to %1").arg(i));
    QCOMPARE(rec.Adder, QString::number(i));
  }
  QCOMPARE(next[0], kEach);
  QCOMPARE(next[1], kEach);
}

void TestFaults::startUpSurvives_data() {
  QTest::addColumn<QByteArray>("types");  // bytes of type.txt, or "<dir>" for a folder
  QTest::addColumn<QByteArray>("conversions");
  QTest::addColumn<int>("records");        // what the window shows
  QTest::addColumn<QString>("firstFrom");  // the first record's From unit
  QTest::addColumn<QStringList>("said");   // parts of the start-up message

  const QByteArray types = "\"ALL\"\r\n\"LENGTH\"\r\n";
  const QByteArray good = "\"a\",\"b\",\"LENGTH\",\"2\",0\r\n";
  QByteArray many;
  for (int i = 0; i < 40000; ++i)
    many += "\"u" + QByteArray::number(i) + "\",\"v\",\"T\",\"1\",0\r\n";
  QTest::newRow("40,000 records")
      << types << many << kMaxConversionRecords << QStringLiteral("u0")
      << QStringList{"convert.txt holds more than 32766 entries; only the first 32766"};
  QTest::newRow("10 MB line") << types << good + QByteArray(10 << 20, 'x') + "\r\n" + good << 2
                              << QStringLiteral("a")
                              << QStringList{"convert.txt: 1 line(s)", "first at line 2"};
  QTest::newRow("NUL bytes") << Bytes("\"ALL\"\r\n\"LE\0NGTH\"\r\n\"MASS\"\r\n")
                             << good + Bytes("\"c\",\"d\0\",\"T\",\"1\",0\r\n") + good << 2
                             << QStringLiteral("a")
                             << QStringList{"type.txt: 1 line(s)", "first at line 2",
                                            "convert.txt: 1 line(s)"};
  // Not UTF-8, so the file is read as Windows-1252: the bytes stay the characters they were.
  QTest::newRow("invalid UTF-8")
      << types
      << QByteArray(
             "\"\xb0"
             "C\",\"\x80\",\"T\",\"1.8\",32\r\n\"\xc3\",\"b\",\"T\",0,0\r\n")
      << 2 << QStringLiteral("\u00b0C") << QStringList();
  QTest::newRow("CR-only line ends")
      << QByteArray("\"ALL\"\r\"LENGTH\"\r")
      << QByteArray("\"a\",\"b\",\"T\",0,0\r\"c\",\"d\",\"T\",0,0\r\"e\",\"f\",\"T\",0,0") << 3
      << QStringLiteral("a") << QStringList();
  QByteArray noise(64 << 10, Qt::Uninitialized);
  QRandomGenerator random(11);
  for (char &c : noise) c = char(random.bounded(256));
  QTest::newRow("random binary data") << noise << noise + "\r\n" + good << 1 << QStringLiteral("a")
                                      << QStringList{"type.txt: ", "convert.txt: "};
  QTest::newRow("folders in place of the files")
      << QByteArray("<dir>") << QByteArray("<dir>") << 0 << QString()
      << QStringList{"type.txt could not be read", "convert.txt could not be read"};
}

// The program starts on any files, shows what it could read and says what it left out.
void TestFaults::startUpSurvives() {
  QFETCH(QByteArray, types);
  QFETCH(QByteArray, conversions);
  QFETCH(int, records);
  QFETCH(QString, firstFrom);
  QFETCH(QStringList, said);

  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  for (const auto &[name, bytes] :
       {std::pair{"type.txt", types}, std::pair{"convert.txt", conversions}}) {
    if (bytes == "<dir>")
      QVERIFY(QDir(dir.path()).mkdir(name));
    else
      QVERIFY(WriteBytes(dir.filePath(name), bytes));
  }
  const QString oldDir = QDir::currentPath();
  QVERIFY(QDir::setCurrent(dir.path()));
  auto window = std::make_unique<frmMain>();
  QDir::setCurrent(oldDir);

  QCOMPARE(window->MSFlexGrid1->Rows(), records + 1);
  QCOMPARE(window->FG1->Rows(), records + 2);
  if (records > 0) {
    QCOMPARE(window->MSFlexGrid1->TextMatrix(1, 0), firstFrom);
    // The last record shown is the last one loaded.
    QCOMPARE(window->MSFlexGrid1->TextMatrix(records, 0), window->FG1->TextMatrix(records, 0));
  }
  QVERIFY(window->Combo1->count() >= 1);
  const QString problems = window->StartupProblems();
  for (const QString &part : said) QVERIFY2(problems.contains(part), qPrintable(problems));
  if (said.isEmpty()) QCOMPARE(problems, QString());
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
