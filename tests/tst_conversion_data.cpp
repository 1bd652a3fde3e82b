#include <QtTest>

#include "data/conversion_data.h"
#include "test_support.h"

using namespace qlc;

namespace {
// File texts written with ' for the quote.
QByteArray Q(QByteArray text) {
  return text.replace('\'', '"');
}

struct ReadRow {
  const char *name;
  bool types = false, german = false;  // type.txt; the user's separators
  QByteArray file;
  QString loaded;  // names, or each record's From unit, multiplier and adder as held, by '|'
  int skipped = 0, firstSkipped = 0;
};

struct WriteRow {
  const char *name;
  QByteArray before;  // convert.txt
  QString multiplier = {};
  double adder = 0;
  QByteArray line = {};   // the line written; null when refused
  QByteArray after = {};  // convert.txt after the append
};
}  // namespace

class TestConversionData : public QObject {
  Q_OBJECT
 private slots:
  // Either file's lines: what loads, and the lines skipped.
  void readLines_data() {
    const QByteArray a = Q("'A','B','T','2',0"), b = Q("'C','D','T','3',1"), bom = "\xEF\xBB\xBF";
    // clang-format off
    const ReadRow rows[] = {
        {.name = "crlf", .file = a + "\r\n" + b + "\r\n", .loaded = "A 2 0|C 3 1"},
        {.name = "bare lf", .file = a + "\n" + b + "\n", .loaded = "A 2 0|C 3 1"},
        {.name = "empty file", .file = "", .loaded = ""},
        {.name = "utf8 bom", .file = bom + a, .loaded = "A 2 0"},
        {.name = "windows-1252", .file = Q("'\xB0\x43 \x80\x91\x92\x93\x94\x9F','b','T','1',0"), .loaded = "°C €‘’“”Ÿ 1 0"},
        {.name = "overlong, surrogate: not utf-8", .file = Q("'\xC0\x80\xED\xA0\x80','b','T','1',0"), .loaded = "À€í\u00A0€ 1 0"},
        {.name = "blank line", .file = a + "\r\n\r\n" + b, .loaded = "A 2 0|C 3 1", .skipped = 1, .firstSkipped = 2},
        {.name = "four, six fields", .file = Q("'x','y','T',1\n") + a + "\n" + a + ",0", .loaded = "A 2 0", .skipped = 2, .firstSkipped = 1},
        {.name = "adder not a number, quoted, overflowing", .file = a + Q("\n'x','y','T','1','z'\n'x','y','T','1','0'\n'x','y','T','1',1e400\n'z','y','T','1',-1E+400"),
         .loaded = "A 2 0", .skipped = 4, .firstSkipped = 2},
        {.name = "unclosed quote, text after quote", .file = Q("'x,'y','T','1',0\n'x'z,'y','T','1',0\n") + b, .loaded = "C 3 1", .skipped = 2, .firstSkipped = 1},
        {.name = "numbers as held", .file = Q("'a','b','T',0,0\n'c','d','T','1e400',1e-400\n'e','f','T','1',0.1234567890123456789"),
         .loaded = "a 0 0|c 1e400 0|e 1 0.123456789012346"},
        {.name = "German", .german = true, .file = Q("'a','b','T','1.5E-3',-459.67\n'c','d','T','two',0.5"), .loaded = "a 1,5E-3 -459,67|c two 0,5"},
        {.name = "types", .types = true, .file = bom + Q("'ALL'\r'A,B'\r"), .loaded = "ALL|A,B"},
        {.name = "types: unquoted, blanks, two fields", .types = true, .file = Q("ALL\n  AREA \n'x'y\nab'c\n'x\n'A','B'\n \n'C'"), .loaded = "ALL|AREA|C", .skipped = 5, .firstSkipped = 3}};
    // clang-format on
    test::AddRows(rows);
  }
  void readLines() {
    QFETCH(ReadRow, row);
    const TypesFile types = ParseTypes(row.file);
    const ConversionsFile conv =
        ParseConversions(row.file, row.german ? NumberSeparators{u',', u'.'} : kEnglishSeparators);
    QStringList records;
    for (const auto &r : conv.records) records << r.FromUnit + ' ' + r.Multiplier + ' ' + r.Adder;
    QCOMPARE((row.types ? types.names : records).join(u'|'), row.loaded);
    const LoadReport &report = row.types ? types.report : conv.report;
    QCOMPARE(QList({report.skippedLines, report.firstSkippedLine, int(report.truncated)}),
             QList({row.skipped, row.firstSkipped, 0}));
  }

  // What the writer makes, the reader takes back as the same record, after the lines
  // before it; what the writer or AppendLine refuses leaves the file as it was.
  void append_data() {
    const QByteArray x = Q("'X'\r\n"), cp1252 = Q("'\xB0'\r\n"), bom = "\xEF\xBB\xBF";
    // clang-format off
    const WriteRow rows[] = {
        {.name = "only a BOM", .before = bom, .multiplier = "1", .adder = 1e300, .line = "'F','T','G','1',1E+300"},
        {.name = "lone CR", .before = Q("'X'\r"), .multiplier = "1", .adder = 1.0 / 3, .line = "'F','T','G','1',0.3333333333333333"},
        {.name = "Windows-1252 file", .before = cp1252, .multiplier = "µ", .line = "'F','T','G','µ',0", .after = cp1252 + Q("'F','T','G','\xB5',0\r\n")},
        {.name = "a line break", .before = x, .multiplier = "1\n2", .line = "'F','T','G','1\n2',0", .after = x},
        {.name = "a NUL", .before = x, .multiplier = QStringView(u"1\0", 2).toString(), .line = QByteArray("'F','T','G','1\0',0", 18), .after = x},
        {.name = "infinite adder", .before = x, .adder = qInf(), .after = x}};
    // clang-format on
    test::AddRows(rows);
  }
  void append() {
    QFETCH(WriteRow, row);
    const std::optional<QString> line = RecordLine("F", "T", "G", row.multiplier, row.adder);
    QCOMPARE(line.value_or("<refused>").toUtf8(), row.line.isNull() ? "<refused>" : Q(row.line));
    if (!line) return;
    QTemporaryDir dir;
    const QString path = dir.filePath("convert.txt");
    QVERIFY(row.before.isEmpty() || test::WriteBytes(path, row.before));
    const AppendResult r = AppendLine(path, *line);
    const QByteArray after = row.after.isNull() ? row.before + line->toUtf8() + "\r\n" : row.after;
    QVERIFY(r.ok == (after != row.before) && r.error.isEmpty() == r.ok);
    QCOMPARE(test::ReadBytes(path), after);
    const auto parsed = ParseConversions(after, kEnglishSeparators).records;
    if (r.ok)
      QVERIFY(!parsed.empty() && parsed.back().FromUnit == "F" &&
              qAbs(ReadNumber(parsed.back().Adder, kEnglishSeparators).value - row.adder) <=
                  1e-14 * qAbs(row.adder));
  }
};

QTEST_GUILESS_MAIN(TestConversionData)
#include "tst_conversion_data.moc"
