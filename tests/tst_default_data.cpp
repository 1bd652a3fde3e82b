// The shipped data in data/: generated from tools/units, loadable, right against references.
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

struct Row {
  QString from, to, group;
  double m = 0, a = 0;
  double Forward(double v) const { return v * m + a; }
};

// The rows as the program reads them: through the loader, numbers through ReadNumber.
QList<Row> LoadRows() {
  QList<Row> rows;
  for (const ConversionRecord &r :
       ParseConversions(ReadBytes(SourcePath("data/convert.txt")), kEnglishSeparators).records) {
    const ReadResult m = ReadNumber(r.Multiplier, kEnglishSeparators);
    const ReadResult a = ReadNumber(r.Adder, kEnglishSeparators);
    rows.push_back(
        {r.FromUnit, r.ToUnit, r.TypeName, m.ok() ? m.value : NAN, a.ok() ? a.value : NAN});
  }
  return rows;
}

// The lines of a definitions file that are neither blank nor comments, trimmed.
QStringList DefinitionLines(const QString &name) {
  QStringList lines;
  const QString text = QString::fromUtf8(ReadBytes(QStringLiteral(QLC_UNITS_DIR "/") + name));
  for (const QString &line : text.split(u'\n'))
    if (!line.trimmed().isEmpty() && !line.trimmed().startsWith(u'#')) lines << line.trimmed();
  return lines;
}

}  // namespace

class TestDefaultData : public QObject {
  Q_OBJECT
 private slots:
  // The committed data is what the generator makes of tools/units; mistakes in the
  // definitions stop it with file and line, and it writes nothing.
  void generator_data() {
    QTest::addColumn<QString>("units");  // empty: the definitions in tools/units
    QTest::addColumn<QString>("pairs");
    QTest::addColumn<QString>("error");
    const QString units =
        "quantity length\nm | Meters (m) | 1 | | base\nft | Feet (ft) | 0.3048 | | 1959\n";
    const QString pairs = "group LENGTH\nm ft\n";
    QTest::newRow("shipped") << QString() << QString() << QString();
    QTest::newRow("unknown unit") << units << "group LENGTH\nm yd\n"
                                  << "pairs.txt:2";
    QTest::newRow("pair twice") << units << pairs + "group MORE\nft m\n"
                                << "pairs.txt:4";
    for (const char *bad : {"0.3048*", "0", "0.3048+pi"})
      QTest::addRow("value %s", bad)
          << QString(units).replace("0.3048", bad) << pairs << "units.txt:3";
  }
  void generator() {
    QFETCH(QString, units);
    QFETCH(QString, pairs);
    QFETCH(QString, error);
    QTemporaryDir dir;
    if (!units.isEmpty()) {
      QVERIFY(test::WriteBytes(dir.filePath("units.txt"), units.toUtf8()));
      QVERIFY(test::WriteBytes(dir.filePath("pairs.txt"), pairs.toUtf8()));
    }
    QProcess gen;
    gen.start(QLC_GEN_DATA, {units.isEmpty() ? QLC_UNITS_DIR : dir.path(), dir.filePath("out")});
    QVERIFY(gen.waitForFinished(60000) && gen.exitStatus() == QProcess::NormalExit);
    const QString err = QString::fromUtf8(gen.readAllStandardError());
    QCOMPARE(gen.exitCode(), error.isEmpty() ? 0 : 1);
    QVERIFY2(err.contains(error), qPrintable(err));
    for (const QString name : {"type.txt", "convert.txt"}) {
      const QByteArray made = ReadBytes(dir.filePath("out/" + name));
      QVERIFY2(made.isEmpty() == !error.isEmpty(), qPrintable(name));
      QVERIFY2(!error.isEmpty() || made == ReadBytes(SourcePath("data/" + name)),
               qPrintable("data/" + name + " is stale: rebuild the target update_data"));
    }
  }

  // Every record loads, has its reverse in the same group, and agrees with an independent
  // unit database, GNU units (Debian's units), through the expressions of
  // tools/units/gnu_units.txt: its values at 0 and at 1, so both the multiplier and the
  // adder, to 1e-12 of the larger. One units process answers all.
  void everyRecordAgreesWithGnuUnits() {
    const QList<Row> rows = LoadRows();
    QCOMPARE(rows.size(), ReadBytes(SourcePath("data/convert.txt")).count("\r\n"));
    std::map<std::pair<QString, QString>, const Row *> byPair;
    for (const Row &r : rows) byPair[{r.from, r.to}] = &r;
    QCOMPARE(qsizetype(byPair.size()), rows.size());  // the list of ALL shows no pair twice
    for (const Row &r : rows) {
      const auto back = byPair.find({r.to, r.from});
      QVERIFY2(back != byPair.end() && back->second->group == r.group, qPrintable(r.from));
    }
    // Where gnu_units.txt spells out our own definition, the value worked out here.
    const std::tuple<QString, QString, double, double> refs[] = {
        {"Parsecs (pc)", "Kilometers (km)", 1, 648000 / pi * 149597870.7},
        {"Feet of sea water (fsw)", "Pounds per square inch (psi)", 33, 101325 / 6894.757293168},
        {"Oersteds (Oe)", "Amperes per meter (A/m)", 1, 1000 / (4 * pi)}};
    for (const auto &[from, to, value, expected] : refs) {
      const Row *r = byPair[{from, to}];
      QVERIFY2(r && std::fabs(r->Forward(value) - expected) <= 1e-12 * expected, qPrintable(from));
    }

    // A unit name may stand for units of two quantities (rpm): a record's two share one.
    QMultiHash<QString, std::pair<QString, QString>> byName;  // name -> quantity, id
    QString quantity;
    for (const QString &line : DefinitionLines("units.txt")) {
      if (line.startsWith(u"quantity "))
        quantity = line;
      else
        byName.insert(line.section(u'|', 1, 1).trimmed(), {quantity, line.section(u'|', 0, 0)});
    }
    QHash<QString, QString> gnu;
    for (const QString &line : DefinitionLines("gnu_units.txt"))
      gnu.insert(line.section(u' ', 0, 0), line.section(u' ', 1).trimmed());
    // The value x in a unit, then the unit to convert to; an expression ending in "()" is
    // one of GNU units' temperature functions, tempC(x).
    auto have = [](const QString &e, const char *x) {
      return e.endsWith(u"()") ? e.chopped(2) + u'(' + x + u')' : QString("%1 (%2)").arg(x, e);
    };
    auto want = [](const QString &e) { return e.endsWith(u"()") ? e.chopped(2) : '(' + e + ')'; };
    QStringList queries;
    for (const Row &r : rows) {
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

    QStringList wrong;
    for (qsizetype i = 0; i < rows.size(); ++i) {
      const QByteArray at0 = answers.value(2 * i), at1 = answers.value(2 * i + 1);
      const double tolerance =
          1e-12 * std::max(std::fabs(at0.toDouble()), std::fabs(at1.toDouble()));
      if (!(std::fabs(rows[i].Forward(0) - at0.toDouble()) <= tolerance) ||
          !(std::fabs(rows[i].Forward(1) - at1.toDouble()) <= tolerance) || at0.isEmpty() ||
          at1.isEmpty())
        wrong << QString("%1 -> %2: GNU units %3, %4").arg(rows[i].from, rows[i].to, at0, at1);
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.mid(0, 20).join(u'\n')));
  }

  // The chooser lists every record whose group contains the picked name: only the wanted
  // groups contain another (pressure includes the heads of water and mercury, angle the
  // solid angles), and every group has records.
  void groupNames() {
    QStringList groups = ParseTypes(ReadBytes(SourcePath("data/type.txt"))).names;
    QCOMPARE(groups.value(0), QStringLiteral("ALL"));  // the chooser's own entry
    groups.removeFirst();
    QSet<QString> contained;
    for (const QString &g : groups)
      for (const QString &h : groups)
        if (g != h && h.contains(g)) contained.insert(g + u'|' + h);
    QCOMPARE(contained, (QSet<QString>{"PRESSURE|PRESSURE DROP", "ANGLE|SOLID ANGLE"}));
    QSet<QString> used;
    for (const Row &r : LoadRows()) used.insert(r.group);
    QCOMPARE(used, QSet<QString>(groups.begin(), groups.end()));
  }
};

QTEST_GUILESS_MAIN(TestDefaultData)
#include "tst_default_data.moc"
