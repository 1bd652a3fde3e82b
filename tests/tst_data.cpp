// The data files: reading, writing and appending them, and the shipped data in data/:
// generated from tools/units, loadable, right against references.
#include <QtTest>
#include <cmath>
#include <map>
#include <numbers>

#include "data/conversion_data.h"
#include "numbers/read_number.h"
#include "test_support.h"

using namespace qlc;
using std::numbers::pi;
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

  // Published values (NIST SP 811, HB 44, SI Brochure...), worked out here, not read from
  // tools/units: one for each group of type.txt, each with records. Units by symbol or name.
  void referenceValues() {
    // clang-format off
    const std::tuple<const char *, const char *, double, double> refs[] = {
        {"mi", "km", 1, 1.609344}, {"ac", "m²", 1, 4046.8564224}, {"gal", "L", 1, 3.785411784}, {"US cups (cup)", "mL", 1, 236.5882365}, {"lb", "kg", 1, 0.45359237},
        {"°F", "°C", 212, 100}, {"K", "°F", 0, -459.67}, {"psi", "kPa", 1, 6.894757293168}, {"mmHg", "Pa", 1, 133.322387415}, {"kWh", "MJ", 1, 3.6},
        {"hp", "W", 1, 745.6998715822702}, {"kn", "m/s", 1, 1852.0 / 3600}, {"g", "m/s²", 1, 9.80665}, {"lbf", "N", 1, 4.4482216152605},
        {"lbf·ft", "N·m", 1, 1.3558179483314004}, {"g/cm³", "lb/ft³", 1, 62.42796057614461}, {"cfm", "L/s", 1, 0.4719474432}, {"a", "d", 1, 365.25},
        {"°", "rad", 180, 3.141592653589793}, {"GiB", "GB", 1, 1.073741824}, {"faraday", "C", 1, 96485.33212331001}, {"abA", "A", 1, 10}, {"abV", "V", 1, 1e-8},
        {"abΩ", "Ω", 1, 1e-9}, {"abF", "F", 1, 1e9}, {"statH", "H", 1, 299792458.0 * 299792458.0 * 1e-5}, {"abS", "S", 1, 1e9}, {"V/mil", "V/m", 1, 1 / 25.4e-6},
        {"µS/cm", "S/m", 1, 1e-4}, {"µΩ·cm", "Ω·m", 1, 1e-8}, {"Wb", "Mx", 1, 1e8}, {"T", "G", 1, 1e4}, {"Oe", "A/m", 1, 1000 / (4 * pi)},
        {"fL", "cd/m²", 1, 1 / (pi * 0.09290304)}, {"cp", "cd", 1, 1}, {"W, 555 nm", "lm", 1, 683}, {"sp", "sr", 1, 4 * pi}, {"lb-mol", "mol", 1, 453.59237},
        {"gpg", "mg/L", 1, 64.79891 / 3.785411784}, {"M", "mol/m³", 1, 1000}, {"% w/w", "ppm", 1, 10000}, {"pt", "mm", 72, 25.4}, {"den", "tex", 9, 1},
        {"lb bond", "g/m²", 1, 453.59237 / (500 * 17 * 22 * 0.00064516)}, {"lb/ac", "kg/ha", 1, 0.45359237 / 0.40468564224},
        {"gal/100 mi", "L/100 km", 1, 3.785411784 / 1.609344}, {"Btu/lb", "J/kg", 1, 2326}, {"Btu/(lb·°F)", "J/(kg·K)", 1, 4186.8}, {"kcal th/mol", "kJ/mol", 1, 4.184},
        {"lb·ft/s", "kg·m/s", 1, 0.138254954376}, {"lb·ft²", "kg·m²", 1, 0.0421401100938048}, {"dyn/cm", "mN/m", 1, 1}, {"lbf/in", "N/mm", 1, 4.4482216152605 / 25.4},
        {"cm⁻¹", "THz", 1, 0.0299792458}, {"R", "C/kg", 1, 2.58e-4}, {"mrem/h", "µSv/h", 1, 10}, {"U", "nkat", 60, 1000},
        {"ft²·°F·h/Btu", "m²·K/W", 1, 0.09290304 * 3600 / 1.8 / 1055.05585262}, {"1/°F", "1/K", 1, 1.8}, {"dpi", "dots/cm", 254, 100}, {"Gy", "rad", 1, 100},
        {"Sv", "rem", 1, 100}, {"Ci", "Bq", 1, 3.7e10}, {"rpm", "rad/s", 1, 2 * pi / 60}, {"MiB/s", "Mbit/s", 1, 8.388608},
        {"reyn", "Pa·s", 1, 0.45359237 * 9.80665 / (0.0254 * 0.0254)}, {"St", "m²/s", 1, 1e-4}, {"Hz", "bpm", 1, 60}, {"mpg", "km/L", 1, 1.609344 / 3.785411784},
        {"Btu/(h·ft²)", "kW/m²", 1, 1055.05585262 / 3600 / 0.09290304 / 1000}, {"kcal/(h·m²·°C)", "W/(m²·K)", 1, 1.163},
        {"W/(m·K)", "Btu/(h·ft·°F)", 1, 3600 * 0.3048 / 1.8 / 1055.05585262}, {"fc", "lx", 1, 1 / 0.09290304}, {"kg/s", "lb/h", 1, 3600 / 0.45359237}};
    // clang-format on
    const QList<Record> records = LoadRecords();
    QStringList groups = ParseTypes(ReadBytes(SourcePath("data/type.txt"))).names;
    QCOMPARE(groups.takeFirst(), QStringLiteral("ALL"));  // the chooser's own entry
    // The chooser lists every record whose group contains the picked name: only these may.
    const QStringList meant{"PRESSURE|HYDROSTATIC PRESSURE", "ANGLE|SOLID ANGLE"};
    for (const QString &g : groups)
      for (const QString &h : groups)
        QVERIFY2(g == h || !h.contains(g) || meant.contains(g + '|' + h),
                 qPrintable(g + " in " + h));
    QSet<QString> used, checked;
    for (const Record &r : records) used.insert(r.group);
    for (const auto &[from, to, value, expected] : refs) {
      QList<const Record *> found;
      for (const Record &r : records)
        if ((r.from == from || r.from.endsWith(QString("(%1)").arg(from))) &&
            (r.to == to || r.to.endsWith(QString("(%1)").arg(to))))
          found << &r;
      const double got = found.size() == 1 ? found[0]->Forward(value) : NAN;
      QVERIFY2(
          std::fabs(got - expected) <= 1e-12 * (expected == 0 ? 1 : std::fabs(expected)),
          qPrintable(QString("%1 %2 -> %3: %4").arg(value).arg(from, to).arg(got, 0, 'g', 17)));
      checked.insert(found[0]->group);
    }
    const QSet<QString> listed(groups.begin(), groups.end());
    QVERIFY2(checked == listed && used == listed,
             qPrintable("unchecked: " + QStringList((listed - checked).values()).join(", ")));
  }
};

QTEST_GUILESS_MAIN(TestData)
#include "tst_data.moc"
