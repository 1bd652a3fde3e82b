// The conversion data we ship in data/: generated from tools/units, readable by the loader,
// right against published values, and grouped so that each group lists what it should.

#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "data/conversion_data.h"
#include "numbers/read_number.h"
#include "test_support.h"

using namespace qlc;
using qlc::test::ReadBytes;
using qlc::test::SourcePath;

namespace {

struct Row {
  QString from, to, group;
  double m = 0, a = 0;
};

// The rows as the program reads them: through the loader, numbers through ReadNumber.
std::vector<Row> LoadRows() {
  const ConversionsFile file =
      ParseConversions(ReadBytes(SourcePath("data/convert.txt")), kEnglishSeparators);
  std::vector<Row> rows;
  for (const ConversionRecord &r : file.records) {
    const ReadResult m = ReadNumber(r.Multiplier, kEnglishSeparators);
    const ReadResult a = ReadNumber(r.Adder, kEnglishSeparators);
    rows.push_back(
        {r.FromUnit, r.ToUnit, r.TypeName, m.ok() ? m.value : NAN, a.ok() ? a.value : NAN});
  }
  return rows;
}

QStringList LoadGroups() {
  QStringList names = ParseTypes(ReadBytes(SourcePath("data/type.txt"))).names;
  if (!names.isEmpty()) names.removeFirst();  // "ALL"
  return names;
}

// Relative closeness; at an expected zero, closeness in absolute terms.
bool CloseTo(double got, double want) {
  return std::fabs(got - want) <= 1e-12 * (want == 0 ? 1 : std::fabs(want));
}

double Forward(const Row &r, double v) {
  return v * r.m + r.a;
}
double Backward(const Row &r, double v) {
  return (v - r.a) / r.m;
}

QString Describe(const Row &r) {
  return r.from + " -> " + r.to;
}

}  // namespace

class TestDefaultData : public QObject {
  Q_OBJECT
 private slots:
  void generatorReproducesCommittedFiles() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QProcess gen;
    gen.start(QStringLiteral(QLC_GEN_DATA), {QStringLiteral(QLC_UNITS_DIR), dir.path()});
    QVERIFY(gen.waitForFinished(60000));
    QVERIFY2(gen.exitStatus() == QProcess::NormalExit && gen.exitCode() == 0,
             gen.readAllStandardError().constData());
    for (const QString &name : {QStringLiteral("type.txt"), QStringLiteral("convert.txt")}) {
      const QByteArray made = ReadBytes(dir.filePath(name));
      const QByteArray committed = ReadBytes(SourcePath("data/" + name));
      QVERIFY2(!made.isEmpty(), qPrintable(name));
      if (made != committed) {
        const QList<QByteArray> a = made.split('\n'), b = committed.split('\n');
        qsizetype i = 0;
        while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
        QFAIL(qPrintable(QString("data/%1 differs from the generator's output at line %2; "
                                 "rebuild the target update_data")
                             .arg(name)
                             .arg(i + 1)));
      }
    }
  }

  // Mistakes in the definitions stop the generator with the file and line, not bad data.
  void generatorRejectsBadDefinitions_data() {
    QTest::addColumn<QString>("units");
    QTest::addColumn<QString>("pairs");
    QTest::addColumn<QString>("error");  // empty: accepted
    const QString units =
        "quantity length\nm | Meters (m) | 1 | | base\n"
        "ft | Feet (ft) | 0.3048 | | 1959\nquantity mass\nkg | Kg (kg) | 1 | |\n";
    const QString pairs = "group LENGTH\nm ft\n";
    QTest::newRow("good") << units << pairs << QString();
    QTest::newRow("unknown unit") << units << "group LENGTH\nm yd\n"
                                  << "pairs.txt:2";
    QTest::newRow("two quantities") << units << "group LENGTH\nm kg\n"
                                    << "pairs.txt:2";
    QTest::newRow("pair twice") << units << pairs + "group MORE\nft m\n"
                                << "pairs.txt:4";
    QTest::newRow("group ALL") << units << "group ALL\nm ft\n"
                               << "pairs.txt:1";
    QTest::newRow("empty group") << units << pairs + "group MORE\n"
                                 << "MORE";
    QTest::newRow("quote in name")
        << QString(units).replace("Feet (ft)", "Feet \"ft\"") << pairs << "units.txt:3";
    QTest::newRow("used before defined")
        << "quantity length\nyd | Yards (yd) | 3*ft | |\n" + units << pairs << "units.txt:2";
    QTest::newRow("bad expression")
        << QString(units).replace("0.3048", "0.3048*") << pairs << "units.txt:3";
    QTest::newRow("zero value") << QString(units).replace("0.3048", "0") << pairs << "units.txt:3";
    QTest::newRow("id twice") << units + "m | Meters (m) | 1 | |\n" << pairs << "units.txt:6";
  }
  void generatorRejectsBadDefinitions() {
    QFETCH(QString, units);
    QFETCH(QString, pairs);
    QFETCH(QString, error);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(qlc::test::WriteBytes(dir.filePath("units.txt"), units.toUtf8()));
    QVERIFY(qlc::test::WriteBytes(dir.filePath("pairs.txt"), pairs.toUtf8()));
    QProcess gen;
    gen.start(QStringLiteral(QLC_GEN_DATA), {dir.path(), dir.filePath("out")});
    QVERIFY(gen.waitForFinished(60000));
    const QString message = QString::fromUtf8(gen.readAllStandardError());
    if (error.isEmpty()) {
      QVERIFY2(gen.exitCode() == 0, qPrintable(message));
      QCOMPARE(ReadBytes(dir.filePath("out/convert.txt")),
               QByteArray("\"Meters (m)\",\"Feet (ft)\",\"LENGTH\",\"3.2808398950131235\",0\r\n"
                          "\"Feet (ft)\",\"Meters (m)\",\"LENGTH\",\"0.3048\",0\r\n"));
      QCOMPARE(ReadBytes(dir.filePath("out/type.txt")), QByteArray("\"ALL\"\r\n\"LENGTH\"\r\n"));
    } else {
      QCOMPARE(gen.exitCode(), 1);
      QVERIFY2(message.contains(error), qPrintable(message));
      QVERIFY(!QFile::exists(dir.filePath("out/convert.txt")));
    }
  }

  // What the loader needs: UTF-8 without BOM, CR LF everywhere, every line a record.
  void filesLoadCleanly() {
    const QByteArray types = ReadBytes(SourcePath("data/type.txt"));
    const QByteArray conversions = ReadBytes(SourcePath("data/convert.txt"));
    for (const QByteArray &bytes : {types, conversions}) {
      QVERIFY(!bytes.isEmpty());
      QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
      QCOMPARE(DetectEncoding(bytes), TextEncoding::Utf8);
      QVERIFY(bytes.endsWith("\r\n"));
      QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
      QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));
    }
    const TypesFile t = ParseTypes(types);
    QCOMPARE(t.report.skippedLines, 0);
    QCOMPARE(t.names.value(0), QStringLiteral("ALL"));
    QVERIFY(types.startsWith("\"ALL\"\r\n"));

    const ConversionsFile c = ParseConversions(conversions, kEnglishSeparators);
    QCOMPARE(c.report.skippedLines, 0);
    QCOMPARE(qsizetype(c.records.size()), conversions.count("\r\n"));
    QVERIFY(c.records.size() >= 360);
    QVERIFY(t.names.size() - 1 >= 20);
    // Multiplier quoted, adder a bare number: what the Add Conversion dialog writes too.
    const QString text = QString::fromUtf8(conversions);
    for (const QString &line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
      const auto fields = ReadFields(line);
      QVERIFY2(fields && fields->size() == 5, qPrintable(line));
      for (int i = 0; i < 4; ++i) QCOMPARE((*fields)[i].kind, Field::QuotedText);
      QCOMPARE((*fields)[4].kind, Field::Number);
      QVERIFY2(IsFileNumber((*fields)[3].text), qPrintable(line));
    }
  }

  // Every row, both ways: through itself backwards and through its reverse row.
  void everyRowRoundTrips() {
    const std::vector<Row> rows = LoadRows();
    QVERIFY(!rows.empty());
    std::map<std::pair<QString, QString>, const Row *> byPair;
    for (const Row &r : rows) byPair[{r.from, r.to}] = &r;
    const double starts[] = {1, 0.3, 37.5, -40, 1000, 123456.789, 1e6};
    for (const Row &r : rows) {
      QVERIFY2(std::isfinite(r.m) && r.m != 0 && std::isfinite(r.a), qPrintable(Describe(r)));
      const auto reverse = byPair.find({r.to, r.from});
      QVERIFY2(reverse != byPair.end(), qPrintable("no reverse row for " + Describe(r)));
      const Row &back = *reverse->second;
      QVERIFY2(back.group == r.group, qPrintable(Describe(r)));
      // An adder limits the precision near the zero of the scale: measure against it too.
      const double floor = std::fabs(r.a / r.m);
      for (double v : starts) {
        const double there = Forward(r, v);
        const double tolerance = 1e-12 * std::max(std::fabs(v), floor);
        QVERIFY2(std::fabs(Backward(r, there) - v) <= tolerance,
                 qPrintable(QString("%1 from %2").arg(Describe(r)).arg(v)));
        QVERIFY2(std::fabs(Forward(back, there) - v) <= tolerance,
                 qPrintable(QString("%1 and back from %2").arg(Describe(r)).arg(v)));
      }
    }
  }

  // Where a group has A->B, B->C and A->C, going through B must agree with going directly:
  // all rows of a group come from one set of definitions.
  void groupRowsAgree() {
    const std::vector<Row> rows = LoadRows();
    std::map<std::pair<QString, QString>, const Row *> byPair;
    for (const Row &r : rows) byPair[{r.from, r.to}] = &r;
    int chains = 0;
    for (const Row &ab : rows) {
      for (const Row &bc : rows) {
        if (bc.from != ab.to || bc.to == ab.from || bc.group != ab.group) continue;
        const auto ac = byPair.find({ab.from, bc.to});
        if (ac == byPair.end()) continue;
        ++chains;
        for (double v : {1.0, 250.0}) {
          const double direct = Forward(*ac->second, v);
          const double scale =
              std::max({std::fabs(direct), std::fabs(ab.a * bc.m), std::fabs(bc.a), 1.0});
          QVERIFY2(std::fabs(Forward(bc, Forward(ab, v)) - direct) <= 1e-12 * scale,
                   qPrintable(Describe(ab) + " -> " + bc.to));
        }
      }
    }
    QVERIFY(chains > 100);
  }

  void referenceValues_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    // Definitions (exact) and NIST SP 811 Appendix B, NIST Handbook 44 Appendix C, SI
    // Brochure; long decimals are exact definitions worked out by hand, e.g. psi = lb * g_n /
    // in² = 0.45359237 * 9.80665 / 0.0254² Pa.
    const struct {
      const char *from, *to;
      double value, expected;
    } rows[] = {
        {"Miles (mi)", "Kilometers (km)", 1, 1.609344},
        {"Feet (ft)", "Meters (m)", 1, 0.3048},
        {"Inches (in)", "Centimeters (cm)", 1, 2.54},
        {"Yards (yd)", "Meters (m)", 1, 0.9144},
        {"Nautical miles (nmi)", "Kilometers (km)", 1, 1.852},
        {"US survey feet (ft US)", "Meters (m)", 1, 0.3048006096012192},
        {"Astronomical units (au)", "Kilometers (km)", 1, 149597870.7},
        {"Acres (ac)", "Square meters (m²)", 1, 4046.8564224},
        {"Square miles (mi²)", "Square kilometers (km²)", 1, 2.589988110336},
        {"US gallons (gal)", "Liters (L)", 1, 3.785411784},
        {"Imperial gallons (imp gal)", "Liters (L)", 1, 4.54609},
        {"Cubic feet (ft³)", "Liters (L)", 1, 28.316846592},
        {"Oil barrels (bbl)", "Liters (L)", 1, 158.987294928},
        {"US fluid ounces (fl oz)", "Milliliters (mL)", 1, 29.5735295625},
        {"Imperial fluid ounces (imp fl oz)", "Milliliters (mL)", 1, 28.4130625},
        {"US cups (cup)", "Milliliters (mL)", 1, 236.5882365},
        {"US tablespoons (tbsp)", "Milliliters (mL)", 1, 14.78676478125},
        {"US teaspoons (tsp)", "Milliliters (mL)", 1, 4.92892159375},
        {"Metric cups (cup)", "US cups (cup)", 1, 250 / 236.5882365},
        {"Pounds (lb)", "Kilograms (kg)", 1, 0.45359237},
        {"Ounces (oz)", "Grams (g)", 1, 28.349523125},
        {"Stones (st)", "Kilograms (kg)", 1, 6.35029318},
        {"Short tons (US ton)", "Metric tonnes (t)", 1, 0.90718474},
        {"Long tons (UK ton)", "Metric tonnes (t)", 1, 1.0160469088},
        {"Troy ounces (oz t)", "Grams (g)", 1, 31.1034768},
        {"Grains (gr)", "Milligrams (mg)", 1, 64.79891},
        {"Slugs (slug)", "Kilograms (kg)", 1, 14.593902937206364},
        {"Degrees Fahrenheit (°F)", "Degrees Celsius (°C)", 212, 100},
        {"Degrees Fahrenheit (°F)", "Degrees Celsius (°C)", -40, -40},
        {"Degrees Celsius (°C)", "Degrees Fahrenheit (°F)", 37, 98.6},
        {"Degrees Celsius (°C)", "Kelvins (K)", 0, 273.15},
        {"Kelvins (K)", "Degrees Fahrenheit (°F)", 0, -459.67},
        {"Degrees Celsius (°C)", "Degrees Rankine (°R)", 100, 671.67},
        {"Degrees Rankine (°R)", "Degrees Celsius (°C)", 491.67, 0},
        {"Pounds per square inch (psi)", "Kilopascals (kPa)", 1, 6.894757293168},
        {"Standard atmospheres (atm)", "Pounds per square inch (psi)", 1, 14.695948775513},
        {"Standard atmospheres (atm)", "Kilopascals (kPa)", 1, 101.325},
        {"Bars (bar)", "Pounds per square inch (psi)", 1, 14.503773773020921},
        {"Torr (Torr)", "Pascals (Pa)", 1, 133.32236842105263},
        {"Technical atmospheres (kgf/cm²)", "Kilopascals (kPa)", 1, 98.0665},
        {"Millimeters of mercury (mmHg)", "Pascals (Pa)", 1, 133.322387415},
        {"Inches of mercury (inHg)", "Kilopascals (kPa)", 1, 3.386388640341},
        {"Inches of water (inH2O)", "Pascals (Pa)", 1, 249.08891},
        {"Kilowatt-hours (kWh)", "Megajoules (MJ)", 1, 3.6},
        {"British thermal units (Btu)", "Kilojoules (kJ)", 1, 1.05505585262},
        {"Thermochemical calories (cal)", "Joules (J)", 1, 4.184},
        {"IT calories (cal IT)", "Joules (J)", 1, 4.1868},
        {"US therms (thm)", "Megajoules (MJ)", 1, 105.4804},
        {"Foot-pounds-force (ft·lbf)", "Joules (J)", 1, 1.3558179483314004},
        {"Electronvolts (eV)", "Joules (J)", 1, 1.602176634e-19},
        {"Mechanical horsepower (hp)", "Watts (W)", 1, 745.6998715822702},
        {"Metric horsepower (PS)", "Kilowatts (kW)", 1, 0.73549875},
        {"Tons of refrigeration (TR)", "Kilowatts (kW)", 1, 3.5168528420666667},
        {"Btu per hour (Btu/h)", "Watts (W)", 1, 0.29307107017222222},
        {"Miles per hour (mph)", "Kilometers per hour (km/h)", 1, 1.609344},
        {"Knots (kn)", "Meters per second (m/s)", 1, 1852.0 / 3600},
        {"Kilometers per hour (km/h)", "Meters per second (m/s)", 36, 10},
        {"Standard gravity (g)", "Meters per second squared (m/s²)", 1, 9.80665},
        {"Standard gravity (g)", "Feet per second squared (ft/s²)", 1, 32.17404855643045},
        {"Pounds-force (lbf)", "Newtons (N)", 1, 4.4482216152605},
        {"Kilograms-force (kgf)", "Newtons (N)", 1, 9.80665},
        {"Pound-feet (lbf·ft)", "Newton meters (N·m)", 1, 1.3558179483314004},
        {"Grams per cubic centimeter (g/cm³)", "Pounds per cubic foot (lb/ft³)", 1,
         62.42796057614461},
        {"US gallons per minute (gpm)", "Liters per minute (L/min)", 1, 3.785411784},
        {"Cubic feet per minute (cfm)", "Liters per second (L/s)", 1, 0.4719474432},
        {"Days (d)", "Seconds (s)", 1, 86400},
        {"Julian years (a)", "Days (d)", 1, 365.25},
        {"Degrees (°)", "Radians (rad)", 180, 3.141592653589793},
        {"Revolutions per minute (rpm)", "Radians per second (rad/s)", 1, 0.10471975511965977},
        {"Gradians (gon)", "Degrees (°)", 1, 0.9},
        {"Kibibytes (KiB)", "Bytes (B)", 1, 1024},
        {"Gibibytes (GiB)", "Gigabytes (GB)", 1, 1.073741824},
        {"Megabytes (MB)", "Megabits (Mbit)", 1, 8},
        {"US miles per gallon (mpg)", "Kilometers per liter (km/L)", 1, 0.425143707430272},
        {"Centipoises (cP)", "Pascal seconds (Pa·s)", 1, 0.001},
        {"Ampere-hours (Ah)", "Coulombs (C)", 1, 3600},
        {"Foot-candles (fc)", "Lux (lx)", 1, 10.763910416709722},
        {"Curies (Ci)", "Gigabecquerels (GBq)", 1, 37},
        {"Btu per hour square foot °F (Btu/(h·ft²·°F))", "Watts per square meter kelvin (W/(m²·K))",
         1, 5.678263341113488},
    };
    for (const auto &r : rows)
      QTest::addRow("%s -> %s", r.from, r.to)
          << QString::fromUtf8(r.from) << QString::fromUtf8(r.to) << r.value << r.expected;
  }
  void referenceValues() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(double, value);
    QFETCH(double, expected);
    const std::vector<Row> rows = LoadRows();
    const auto it = std::find_if(rows.begin(), rows.end(),
                                 [&](const Row &r) { return r.from == from && r.to == to; });
    QVERIFY2(it != rows.end(), "no such row in data/convert.txt");
    const double got = Forward(*it, value);
    QVERIFY2(CloseTo(got, expected), qPrintable(QString::number(got, 'g', 17)));
  }

  // Picking a group lists every record whose group contains the picked name.
  void eachGroupListsOnlyItsOwn() {
    const QStringList groups = LoadGroups();
    const std::vector<Row> rows = LoadRows();
    QVERIFY(!groups.isEmpty());
    // The one wanted containment: the pressure list includes the heads of water and mercury.
    const QSet<QString> wanted = {QStringLiteral("PRESSURE|PRESSURE DROP")};
    QSet<QString> found;
    for (const QString &g : groups) {
      QCOMPARE(g, g.toUpper());
      QVERIFY2(g != QStringLiteral("ALL"), "ALL is the chooser's own entry");
      for (const QString &h : groups)
        if (g != h && h.contains(g)) found.insert(g + u'|' + h);
    }
    QCOMPARE(found, wanted);

    QSet<QString> used;
    for (const Row &r : rows) {
      QVERIFY2(groups.contains(r.group), qPrintable(r.group));
      used.insert(r.group);
    }
    QCOMPARE(used.size(), groups.size());
    // No list shows the same pair twice, also where a group lists another's records.
    for (const QString &g : groups) {
      QSet<QString> seen;
      for (const Row &r : rows) {
        if (!r.group.contains(g)) continue;
        const QString key = Describe(r);
        QVERIFY2(!seen.contains(key), qPrintable(g + ": " + key));
        seen.insert(key);
      }
    }
  }
};

QTEST_GUILESS_MAIN(TestDefaultData)
#include "tst_default_data.moc"
