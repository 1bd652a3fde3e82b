#include <QTemporaryDir>
#include <QtTest>

#include "data/conversion_data.h"
#include "test_support.h"

using namespace qlc;

namespace {
const NumberSeparators kGerman{u',', u'.'};

// File texts written with ' for the quote.
QByteArray Q(const char *text) {
  return QByteArray(text).replace('\'', '"');
}
}  // namespace

class TestConversionData : public QObject {
  Q_OBJECT
 private slots:
  // Either file's lines: the names loaded (From unit of a record), and the lines skipped.
  void readLines_data() {
    QTest::addColumn<bool>("types");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("loaded");  // joined by '|'
    QTest::addColumn<int>("skipped");
    QTest::addColumn<int>("firstSkipped");
    auto row = [](const char *name, bool types, const QByteArray &file, const char *loaded,
                  int skipped = 0, int firstSkipped = 0) {
      QTest::newRow(name) << types << file << QString(loaded) << skipped << firstSkipped;
    };
    const QByteArray a = Q("'A','B','T','2',0"), b = Q("'C','D','T','3',1");
    row("crlf", false, a + "\r\n" + b + "\r\n", "A|C");
    row("no final line break", false, a + "\r\n" + b, "A|C");
    row("bare lf", false, a + "\n" + b + "\n", "A|C");
    row("cr only", false, a + "\r" + b + "\r", "A|C");
    row("empty file", false, "", "");
    row("utf8 bom", false, "\xEF\xBB\xBF" + a, "A");
    row("windows-1252", false, Q("'Grad \xB0\x43 \x80','b','T','1',0"), "Grad °C €");
    row("blank line", false, a + "\r\n\r\n" + b, "A|C", 1, 2);
    row("four fields", false, Q("'x','y','T',1\n") + a, "A", 1, 1);
    row("six fields", false, a + "\n" + a + ",0", "A", 1, 2);
    row("adder not a number", false, a + "\n" + Q("'x','y','T','1','z'"), "A", 1, 2);
    row("adder quoted", false, a + "\n" + Q("'x','y','T','1','0'"), "A", 1, 2);
    row("adder overflows", false, a + Q("\n'x','y','T','1',1e400\n'z','y','T','1',-1E+400"), "A", 2,
        2);
    row("unclosed quote", false, Q("'x,'y','T','1',0\n") + b, "C", 1, 1);
    row("text after quote", false, Q("'x'z,'y','T','1',0\n") + b, "C", 1, 1);
    row("nul byte", false, QByteArray("\"x\0\",\"y\",\"T\",\"1\",0\n", 19) + b, "C", 1, 1);
    row("types", true, Q("'ALL'\r\n'A,B'\r\n"), "ALL|A,B");
    row("types: empty file, one empty entry", true, "", "");
    row("types: unquoted, blanks", true, Q("ALL\n  AREA \n'x'y\nab'c\n'x"), "ALL|AREA", 3, 3);
    row("types: two fields, blank", true, Q("'ALL'\n'A','B'\n \n'C'"), "ALL|C", 2, 2);
  }
  void readLines() {
    QFETCH(bool, types);
    QFETCH(QByteArray, file);
    QFETCH(QString, loaded);
    QFETCH(int, skipped);
    QFETCH(int, firstSkipped);
    LoadReport report;
    if (types) {
      const TypesFile parsed = ParseTypes(file);
      QCOMPARE(parsed.names, loaded.split(u'|'));
      report = parsed.report;
    } else {
      const ConversionsFile parsed = ParseConversions(file, kEnglishSeparators);
      QStringList got;
      for (const auto &r : parsed.records) got << r.FromUnit;
      QCOMPARE(got.join(u'|'), loaded);
      report = parsed.report;
    }
    QCOMPARE(report.skippedLines, skipped);
    QCOMPARE(report.firstSkippedLine, firstSkipped);
    QVERIFY(!report.truncated);
  }

  // The multiplier and adder as held for the user's locale, and the multiplier read back.
  void localeTexts() {
    const struct {
      const char *line;
      bool german;
      QString multiplier, adder;
      double value;  // NaN: no number
    } rows[] = {{"'a','b','T','0.3048',0.5", false, "0.3048", "0.5", 0.3048},
                {"'a','b','T','1.5E-3',-459.67", true, "1,5E-3", "-459,67", 0.0015},
                {"'a','b','T','two',0", true, "two", "0", qQNaN()},
                {"'a','b','T',0,0", false, "0", "0", 0.0},
                {"'a','b','T','1e400',1e-400", false, "1e400", "0", qQNaN()},
                {"'a','b','T','1',0.1234567890123456789", false, "1", "0.123456789012346", 1}};
    for (const auto &row : rows) {
      const NumberSeparators sep = row.german ? kGerman : kEnglishSeparators;
      const ConversionsFile parsed = ParseConversions(Q(row.line), sep);
      QCOMPARE(int(parsed.records.size()), 1);
      QCOMPARE(parsed.records[0].Multiplier, row.multiplier);
      QCOMPARE(parsed.records[0].Adder, row.adder);
      const ReadResult back = ReadNumber(parsed.records[0].Multiplier, sep);
      QCOMPARE(back.ok(), !qIsNaN(row.value));
      if (back.ok()) QCOMPARE(back.value, row.value);
    }
  }

  void limits() {
    QByteArray records;
    for (int i = 0; i < kMaxConversionRecords + 2; ++i)
      records += "\"u" + QByteArray::number(i) + "\",\"v\",\"T\",\"1\",0\r\n";
    const ConversionsFile conv = ParseConversions(records, kEnglishSeparators);
    QCOMPARE(int(conv.records.size()), kMaxConversionRecords);
    QVERIFY(conv.report.truncated);
    QCOMPARE(conv.records.back().FromUnit, QString("u%1").arg(kMaxConversionRecords - 1));
    const TypesFile t = ParseTypes(Q("'t'\n").repeated(kMaxTypeLines + 1));
    QCOMPARE(int(t.names.size()), kMaxTypeLines);
    QVERIFY(t.report.truncated);
  }

  void missingFiles() {
    QTemporaryDir dir;
    const TypesFile types = ReadTypeFile(dir.filePath("type.txt"));
    QVERIFY(types.report.missing);
    QCOMPARE(types.names, QStringList{QString()});
    const ConversionsFile conv = ReadConversionFile(dir.path(), kGerman);  // a folder
    QVERIFY(conv.report.missing && !conv.report.error.isEmpty() && conv.records.empty());
  }

  void encodings() {
    QCOMPARE(DetectEncoding("\"Grad \xC2\xB0\x43\""), TextEncoding::Utf8);
    for (const char *notUtf8 : {"\xB0\x43", "\xC0\x80", "\xED\xA0\x80"})  // overlong, surrogate
      QCOMPARE(DetectEncoding(notUtf8), TextEncoding::Windows1252);
    // Every byte survives a round trip through the Windows-1252 reading.
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(char(b));
    QCOMPARE(EncodeText(DecodeText(all, TextEncoding::Windows1252), TextEncoding::Windows1252),
             std::optional<QByteArray>(all));
    QVERIFY(!EncodeText(u"\u4E00", TextEncoding::Windows1252));
  }

  // What the writer makes, the reader takes back as the same record.
  void lineWriter() {
    // clang-format off
    const std::tuple<QString, double, const char *> rows[] = {
        {"", 0, "'F','T','G',0,0"}, {"2.54", 0.5, "'F','T','G','2.54',0.5"},
        {"two", -40, "'F','T','G','two',-40"}, {"1", 1e300, "'F','T','G','1',1E+300"},
        {"1", 1.0 / 3, "'F','T','G','1',0.3333333333333333"}};
    // clang-format on
    for (const auto &[multiplier, adder, line] : rows) {
      QCOMPARE(RecordLine("F", "T", "G", multiplier, adder).value_or("<refused>").toUtf8(),
               Q(line));
      const auto parsed = ParseConversions(Q(line), kEnglishSeparators);
      QCOMPARE(int(parsed.records.size()), 1);
      const double back = ReadNumber(parsed.records[0].Adder, kEnglishSeparators).value;
      QVERIFY(qAbs(back - adder) <= 1e-14 * qAbs(adder));
    }
    QVERIFY(!RecordLine("F\"", "T", "G", "1", 0));
    QVERIFY(!RecordLine("F", "T", "G", "1", qInf()));
    QVERIFY(!TypeLine("a\"b"));
  }

  // What AppendLine refuses leaves the file as it was.
  void append() {
    const QByteArray x = Q("'X'\r\n"), cp1252 = Q("'\xB0'\r\n"), bom = "\xEF\xBB\xBF";
    // clang-format off
    const std::tuple<QByteArray, QString, QByteArray> rows[] = {
        {"", "'A'", Q("'A'\r\n")}, {x, "'A'", x + Q("'A'\r\n")},
        {x.chopped(2), "'A'", x + Q("'A'\r\n")}, {bom, "'A'", bom + Q("'A'\r\n")},
        {Q("'\xC2\xB0'\r\n"), "'µ'", Q("'\xC2\xB0'\r\n'\xC2\xB5'\r\n")},
        {cp1252, "'µ'", cp1252 + Q("'\xB5'\r\n")},
        {cp1252, "'\u4E00'", cp1252}, {x, "'A'\n'B'", x}};  // refused: not Windows-1252, a break
    // clang-format on
    for (const auto &[before, line, after] : rows) {
      QTemporaryDir dir;
      const QString path = dir.filePath("convert.txt");
      if (!before.isEmpty()) QVERIFY(test::WriteBytes(path, before));
      const AppendResult r = AppendLine(path, QString(line).replace(u'\'', u'"'));
      QCOMPARE(r.ok, after != before);
      QCOMPARE(r.error.isEmpty(), r.ok);
      QCOMPARE(test::ReadBytes(path), after);
    }
  }
};

QTEST_GUILESS_MAIN(TestConversionData)
#include "tst_conversion_data.moc"
