// The data files: reading, writing and appending them, and the shipped data in data/:
// generated from tools/units, loadable, right against references.
#include <QtTest>
#include <cmath>
#include <map>

#include "data/conversion_data.h"
#include "numbers/read_number.h"
#include "test_support.h"

using namespace qlc;
using test::ReadBytes;
using test::SourcePath;

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
  int foreign = 0, firstForeign = 0;  // lines read as Windows-1252 among UTF-8 ones
};

struct WriteRow {
  const char *name;
  QByteArray before;  // convert.txt
  QString multiplier = {};
  double adder = 0;
  QByteArray line = {};   // the line written; null when refused
  QByteArray after = {};  // convert.txt after the append
  QString loaded = {};    // each record's multiplier read back after the append, by '|'
};

struct Record {
  QString from, to, group;
  double m = 0, a = 0;
  double Forward(double v) const { return v * m + a; }
};

// The records as the program reads them: through the loader, numbers through ReadNumber.
QList<Record> LoadRecords() {
  auto number = [](const QString &t) {
    return ReadNumber(t, kEnglishSeparators).ok() ? ReadNumber(t, kEnglishSeparators).value : NAN;
  };
  QList<Record> records;
  for (const ConversionRecord &r :
       ParseConversions(ReadBytes(SourcePath("data/convert.txt")), kEnglishSeparators).Records())
    records.push_back({r.FromUnit, r.ToUnit, r.TypeName, number(r.Multiplier), number(r.Adder)});
  return records;
}

}  // namespace

class TestData : public QObject {
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
        {.name = "overlong, surrogate: not utf-8", .file = Q("'\xC0\x80','b','T','1',0\n'\xED\xA0\x80','b','T','1',0"), .loaded = "À€ 1 0|í\u00A0€ 1 0"},
        {.name = "one Windows-1252 line in UTF-8", .file = Q("'°C','b','T','µ',0\n'\xB0\x46','b','T','\xB5',0\n'°R','b','T','1',0"), .loaded = "°C µ 0|°F µ 0|°R 1 0", .foreign = 1, .firstForeign = 2},
        {.name = "blanks around quoted fields", .file = Q("'A' ,\t'B'\t, 'T' ,'2' , 0 "), .loaded = "A 2 0"},
        {.name = "blank line", .file = a + "\r\n\r\n" + b, .loaded = "A 2 0|C 3 1", .skipped = 1, .firstSkipped = 2},
        {.name = "four, six fields", .file = Q("'x','y','T',1\n") + a + "\n" + a + ",0", .loaded = "A 2 0", .skipped = 2, .firstSkipped = 1},
        {.name = "adder not a number, quoted, overflowing", .file = a + Q("\n'x','y','T','1','z'\n'x','y','T','1','0'\n'x','y','T','1',1e400\n'z','y','T','1',-1E+400"),
         .loaded = "A 2 0", .skipped = 4, .firstSkipped = 2},
        {.name = "unclosed quote, text after quote", .file = Q("'x,'y','T','1',0\n'x'z,'y','T','1',0\n") + b, .loaded = "C 3 1", .skipped = 2, .firstSkipped = 1},
        {.name = "numbers as held", .file = Q("'a','b','T',0,0\n'c','d','T','1e400',1e-400\n'e','f','T','1',0.1234567890123456789"),
         .loaded = "a 0 0|c 1e400 0|e 1 0.123456789012346"},
        {.name = "German", .german = true, .file = Q("'a','b','T','1.5E-3',-459.67\n'c','d','T','two',0.5"), .loaded = "a 1,5E-3 -459,67|c two 0,5"},
        {.name = "types", .types = true, .file = bom + Q("'ALL'\r'A,B' \r"), .loaded = "ALL|A,B"},
        {.name = "types: unquoted, blanks, two fields", .types = true, .file = Q("ALL\n  AREA \n'x'y\nab'c\n'x\n'A','B'\n \n'C'"), .loaded = "ALL|AREA|C", .skipped = 5, .firstSkipped = 3}};
    // clang-format on
    test::AddRows(rows);
  }
  void readLines() {
    QFETCH(ReadRow, row);
    const TypesFile types = ParseTypes(row.file);
    const ConversionTable conv =
        ParseConversions(row.file, row.german ? NumberSeparators{u',', u'.'} : kEnglishSeparators);
    QStringList records;
    for (const auto &r : conv.Records()) records << r.FromUnit + ' ' + r.Multiplier + ' ' + r.Adder;
    QCOMPARE((row.types ? types.names : records).join(u'|'), row.loaded);
    const LoadReport &report = row.types ? types.report : conv.report;
    QCOMPARE(QList({report.skippedLines, report.firstSkippedLine, int(report.truncated),
                    report.windows1252Lines, report.firstWindows1252Line}),
             QList({row.skipped, row.firstSkipped, 0, row.foreign, row.firstForeign}));
  }

  // What the writer makes, the reader takes back as the same record, after the lines
  // before it; what the writer or AppendLine refuses leaves the file as it was.
  void append_data() {
    const QByteArray x = Q("'X'\r\n"), bom = "\xEF\xBB\xBF";
    const QByteArray cp1252 = Q("'a','b','T','\xB0',0\r\n"), utf8 = Q("'a','b','T','°C',0\r\n");
    // clang-format off
    const WriteRow rows[] = {
        {.name = "only a BOM", .before = bom, .multiplier = "1", .adder = 1e300, .line = "'F','T','G','1',1E+300", .loaded = "1"},
        {.name = "lone CR", .before = Q("'X'\r"), .multiplier = "1", .adder = 1.0 / 3, .line = "'F','T','G','1',0.3333333333333333", .loaded = "1"},
        // An append keeps the encoding of the file as a whole; each line reads back in its own.
        {.name = "Windows-1252 file", .before = cp1252, .multiplier = "µ", .line = "'F','T','G','µ',0", .after = cp1252 + Q("'F','T','G','\xB5',0\r\n"), .loaded = "°|µ"},
        {.name = "UTF-8 file, one Windows-1252 line", .before = utf8 + cp1252, .multiplier = "µ", .line = "'F','T','G','µ',0", .after = utf8 + cp1252 + Q("'F','T','G','\xB5',0\r\n"), .loaded = "°C|°|µ"},
        {.name = "UTF-8 file", .before = utf8, .multiplier = "µ", .line = "'F','T','G','µ',0", .loaded = "°C|µ"},
        // As Windows-1252 bytes, Â° would read back as UTF-8 °.
        {.name = "Windows-1252 bytes valid UTF-8", .before = cp1252, .multiplier = "Â°", .line = "'F','T','G','Â°',0", .after = cp1252},
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
    if (!r.ok) return;
    const auto records = ParseConversions(after, kEnglishSeparators).Records();
    QStringList multipliers;
    for (const auto &record : records) multipliers << record.Multiplier;
    QCOMPARE(multipliers.join(u'|'), row.loaded);
    QVERIFY(qAbs(ReadNumber(records.back().Adder, kEnglishSeparators).value - row.adder) <=
            1e-14 * qAbs(row.adder));
  }

  // The committed data is what the generator makes of tools/units.
  void generatorRoundTrip() {
    QTemporaryDir dir;
    QProcess gen;
    gen.start(QLC_GEN_DATA, {QLC_UNITS_DIR, dir.path()});
    QVERIFY2(gen.waitForFinished(60000) && gen.exitCode() == 0,
             gen.readAllStandardError().constData());
    for (const QString name : {"type.txt", "convert.txt"})
      QVERIFY2(ReadBytes(dir.filePath(name)) == ReadBytes(SourcePath("data/" + name)),
               qPrintable("data/" + name + " is stale: rebuild the target update_data"));
  }

  // Every record loads, has its reverse in the same group, and agrees with GNU units (Debian's
  // units) through tools/units/gnu_units.txt at 0 and at 1 (multiplier and adder) to 1e-12.
  void everyRecordAgreesWithGnuUnits() {
    const QList<Record> rows = LoadRecords();
    QCOMPARE(rows.size(), ReadBytes(SourcePath("data/convert.txt")).count("\r\n"));
    std::map<std::pair<QString, QString>, QString> groupOf;  // the list of ALL shows no pair twice
    for (const Record &r : rows)
      QVERIFY2(groupOf.emplace(std::pair{r.from, r.to}, r.group).second, qPrintable(r.from));
    for (const Record &r : rows) QCOMPARE(groupOf[std::pair(r.to, r.from)], r.group);

    auto definitions = [](const char *name) {  // the lines that are no comments nor blank
      const QString text = QString(ReadBytes(QLC_UNITS_DIR "/" + QString(name)));
      return text.split(u'\n').filter(QRegularExpression("^[^#\\s]"));
    };
    // A unit name may stand for units of two quantities (rpm): a record's two share one.
    QMultiHash<QString, std::pair<QString, QString>> byName;  // name -> quantity, id
    QString quantity;
    for (const QString &line : definitions("units.txt"))
      if (line.startsWith(u"quantity "))
        quantity = line;
      else
        byName.insert(line.section(u'|', 1, 1).trimmed(), {quantity, line.section(u'|', 0, 0)});
    QHash<QString, QString> gnu;
    for (const QString &line : definitions("gnu_units.txt"))
      gnu.insert(line.section(u' ', 0, 0), line.section(u' ', 1).trimmed());
    // x in a unit, then the unit wanted; "f()" is one of GNU units' temperature functions, f(x).
    auto have = [](const QString &e, const char *x) {
      return e.endsWith(u"()") ? e.chopped(2) + u'(' + x + u')' : QString("%1 (%2)").arg(x, e);
    };
    auto want = [](const QString &e) { return e.endsWith(u"()") ? e.chopped(2) : '(' + e + ')'; };
    QStringList queries;
    for (const Record &r : rows) {
      QString from, to;
      for (const auto &[qa, a] : byName.values(r.from))
        for (const auto &[qb, b] : byName.values(r.to))
          if (qa == qb) from = a.trimmed(), to = b.trimmed();
      QVERIFY2(gnu.contains(from) && gnu.contains(to), qPrintable(r.from + " -> " + r.to));
      for (const char *x : {"0", "1"}) queries << have(gnu[from], x) << want(gnu[to]);
    }
    QProcess units;
    units.start("units",
                {"--terse", "--output-format", "%.17g", "--file", "", "--locale", "en_US"});
    QVERIFY2(units.waitForStarted(), "GNU units is missing (Debian package units)");
    units.write((queries.join(u'\n') + u'\n').toUtf8());
    units.closeWriteChannel();
    QVERIFY(units.waitForFinished(60000));
    const QList<QByteArray> answers = units.readAllStandardOutput().split('\n');
    QVERIFY(answers.size() > 2 * rows.size());
    QStringList wrong;
    for (qsizetype i = 0; i < rows.size(); ++i) {
      const double at0 = answers[2 * i].toDouble(), at1 = answers[2 * i + 1].toDouble();
      const double tol = 1e-12 * std::max(std::fabs(at0), std::fabs(at1));
      if (!(std::fabs(rows[i].Forward(0) - at0) <= tol &&
            std::fabs(rows[i].Forward(1) - at1) <= tol))
        wrong << QString("%1 -> %2: GNU units %3, %4")
                     .arg(rows[i].from, rows[i].to, answers[2 * i], answers[2 * i + 1]);
    }
    qInfo("GNU units: %lld records checked, %lld agree", qlonglong(rows.size()),
          qlonglong(rows.size() - wrong.size()));
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.mid(0, 20).join(u'\n')));
  }

  // Every listed group has records and every record a listed group. The chooser lists every
  // record whose group contains the picked name: no group name may occur in another, but for
  // the pairs meant so.
  void groupNames() {
    QStringList groups = ParseTypes(ReadBytes(SourcePath("data/type.txt"))).names;
    QCOMPARE(groups.takeFirst(), QStringLiteral("ALL"));  // the chooser's own entry
    QSet<QString> used;
    for (const Record &r : LoadRecords()) used.insert(r.group);
    QCOMPARE(used, QSet<QString>(groups.begin(), groups.end()));
    const QStringList meant{"PRESSURE|HYDROSTATIC PRESSURE", "ANGLE|SOLID ANGLE"};
    for (const QString &g : groups)
      for (const QString &h : groups)
        QVERIFY2(g == h || !h.contains(g) || meant.contains(g + '|' + h),
                 qPrintable(g + " in " + h));
  }
};

QTEST_GUILESS_MAIN(TestData)
#include "tst_data.moc"
