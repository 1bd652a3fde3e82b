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
    qInfo("GNU units: %lld records checked, %lld agree", qlonglong(rows.size()),
          qlonglong(rows.size() - wrong.size()));
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.mid(0, 20).join(u'\n')));
  }

  // Published values: exact definitions from NIST SP 811 App. B, NIST HB 44 App. C, the SI
  // Brochure and the other sources of tools/units/units.txt, worked out here in double
  // precision, not read there.
  void referenceValues() {
    const std::tuple<const char *, const char *, double, double> refs[] = {
        {"Miles (mi)", "Kilometers (km)", 1, 1.609344},
        {"Feet (ft)", "Meters (m)", 1, 0.3048},
        {"Nautical miles (nmi)", "Kilometers (km)", 1, 1.852},
        {"US survey feet (ft US)", "Meters (m)", 1, 0.3048006096012192},
        {"Astronomical units (au)", "Kilometers (km)", 1, 149597870.7},
        {"Acres (ac)", "Square meters (m²)", 1, 4046.8564224},
        {"US gallons (gal)", "Liters (L)", 1, 3.785411784},
        {"Imperial gallons (imp gal)", "Liters (L)", 1, 4.54609},
        {"Cubic feet (ft³)", "Liters (L)", 1, 28.316846592},
        {"Oil barrels (bbl)", "Liters (L)", 1, 158.987294928},
        {"US fluid ounces (fl oz)", "Milliliters (mL)", 1, 29.5735295625},
        {"US cups (cup)", "Milliliters (mL)", 1, 236.5882365},
        {"US tablespoons (tbsp)", "Milliliters (mL)", 1, 14.78676478125},
        {"Pounds (lb)", "Kilograms (kg)", 1, 0.45359237},
        {"Ounces (oz)", "Grams (g)", 1, 28.349523125},
        {"Short tons (US ton)", "Metric tonnes (t)", 1, 0.90718474},
        {"Troy ounces (oz t)", "Grams (g)", 1, 31.1034768},
        {"Degrees Fahrenheit (°F)", "Degrees Celsius (°C)", 212, 100},
        {"Degrees Celsius (°C)", "Kelvins (K)", 0, 273.15},
        {"Kelvins (K)", "Degrees Fahrenheit (°F)", 0, -459.67},
        {"Degrees Rankine (°R)", "Degrees Celsius (°C)", 491.67, 0},
        {"Pounds per square inch (psi)", "Kilopascals (kPa)", 1, 6.894757293168},
        {"Standard atmospheres (atm)", "Kilopascals (kPa)", 1, 101.325},
        {"Bars (bar)", "Pounds per square inch (psi)", 1, 14.503773773020921},
        {"Millimeters of mercury (mmHg)", "Pascals (Pa)", 1, 133.322387415},
        {"Inches of water (inH2O)", "Pascals (Pa)", 1, 249.08891},
        {"Kilowatt-hours (kWh)", "Megajoules (MJ)", 1, 3.6},
        {"British thermal units (Btu)", "Kilojoules (kJ)", 1, 1.05505585262},
        {"Thermochemical calories (cal)", "Joules (J)", 1, 4.184},
        {"IT calories (cal IT)", "Joules (J)", 1, 4.1868},
        {"Mechanical horsepower (hp)", "Watts (W)", 1, 745.6998715822702},
        {"Metric horsepower (PS)", "Kilowatts (kW)", 1, 0.73549875},
        {"Knots (kn)", "Meters per second (m/s)", 1, 1852.0 / 3600},
        {"Standard gravity (g)", "Meters per second squared (m/s²)", 1, 9.80665},
        {"Pounds-force (lbf)", "Newtons (N)", 1, 4.4482216152605},
        {"Pound-feet (lbf·ft)", "Newton meters (N·m)", 1, 1.3558179483314004},
        {"Grams per cubic centimeter (g/cm³)", "Pounds per cubic foot (lb/ft³)", 1,
         62.42796057614461},
        {"Cubic feet per minute (cfm)", "Liters per second (L/s)", 1, 0.4719474432},
        {"Julian years (a)", "Days (d)", 1, 365.25},
        {"Degrees (°)", "Radians (rad)", 180, 3.141592653589793},
        {"Gibibytes (GiB)", "Gigabytes (GB)", 1, 1.073741824},
        {"Megabytes (MB)", "Megabits (Mbit)", 1, 8},
        {"Parsecs (pc)", "Kilometers (km)", 1, 648000 / pi * 149597870.7},
        {"Leagues (lea)", "Miles (mi)", 1, 3},
        {"Furlongs (fur)", "Meters (m)", 1, 201.168},
        {"Chains (ch)", "Meters (m)", 1, 20.1168},
        {"Circular mils (cmil)", "Square millimeters (mm²)", 1, pi / 4 * 0.0254 * 0.0254},
        {"US bushels (bu)", "Liters (L)", 1, 35.23907016688},
        {"US dry pints (dry pt)", "Liters (L)", 1, 0.5506104713575},
        {"Imperial gills (imp gi)", "Milliliters (mL)", 1, 142.0653125},
        {"Long hundredweights (cwt UK)", "Kilograms (kg)", 1, 50.80234544},
        {"Pennyweights (dwt)", "Grams (g)", 1, 1.55517384},
        {"Tolas (tola)", "Grams (g)", 1, 11.6638038},
        {"Kiloponds (kp)", "Newtons (N)", 1, 9.80665},
        {"Knots (kn)", "Kilometers per hour (km/h)", 1, 1.852},
        {"Feet of sea water (fsw)", "Pounds per square inch (psi)", 33, 101325 / 6894.757293168},
        {"Tonnes of oil equivalent (toe)", "Gigajoules (GJ)", 1, 41.868},
        {"Tons of TNT (t TNT)", "Gigajoules (GJ)", 1, 4.184},
        {"Boiler horsepower (hp boiler)", "Kilowatts (kW)", 1, 9.8095},
        {"Degrees Réaumur (°Ré)", "Degrees Celsius (°C)", 80, 100},
        {"Hours of right ascension (h)", "Degrees (°)", 1, 15},
        {"Gregorian years (365.2425 d)", "Days (d)", 1, 365.2425},
        {"Julian centuries (cy)", "Days (d)", 1, 36525},
        {"Faradays (faraday)", "Coulombs (C)", 1, 96485.33212331001},
        {"Statcoulombs (statC)", "Coulombs (C)", 1, 1 / 2997924580.0},
        {"Abamperes (abA)", "Amperes (A)", 1, 10},
        {"Abvolts (abV)", "Volts (V)", 1, 1e-8},
        {"Abohms (abΩ)", "Ohms (Ω)", 1, 1e-9},
        {"Abfarads (abF)", "Farads (F)", 1, 1e9},
        {"Stathenries (statH)", "Henries (H)", 1, 299792458.0 * 299792458.0 * 1e-5},
        {"Abmhos (abS)", "Siemens (S)", 1, 1e9},
        {"Volts per mil (V/mil)", "Volts per meter (V/m)", 1, 1 / 25.4e-6},
        {"Microsiemens per centimeter (µS/cm)", "Siemens per meter (S/m)", 1, 1e-4},
        {"Microhm centimeters (µΩ·cm)", "Ohm meters (Ω·m)", 1, 1e-8},
        {"Webers (Wb)", "Maxwells (Mx)", 1, 1e8},
        {"Teslas (T)", "Gauss (G)", 1, 1e4},
        {"Oersteds (Oe)", "Amperes per meter (A/m)", 1, 1000 / (4 * pi)},
        {"Foot-lamberts (fL)", "Candelas per square meter (cd/m²)", 1, 1 / (pi * 0.09290304)},
        {"Stilbs (sb)", "Candelas per square meter (cd/m²)", 1, 1e4},
        {"Candlepower (cp)", "Candelas (cd)", 1, 1},
        {"Watts at 540 THz (W, 555 nm)", "Lumens (lm)", 1, 683},
        {"Spats (sp)", "Steradians (sr)", 1, 4 * pi},
        {"Square degrees (deg²)", "Steradians (sr)", 1, (pi / 180) * (pi / 180)},
        {"Pound-moles (lb-mol)", "Moles (mol)", 1, 453.59237},
        {"Moles (mol)", "Particles (N)", 1, 6.02214076e23},
        {"Grains per US gallon (gpg)", "Milligrams per liter (mg/L)", 1, 64.79891 / 3.785411784},
        {"Moles per liter (M)", "Moles per cubic meter (mol/m³)", 1, 1000},
        {"Percent by mass (% w/w)", "Parts per million (ppm)", 1, 10000},
        {"Points (pt)", "Millimeters (mm)", 72, 25.4},
        {"Pixels (px, CSS)", "Millimeters (mm)", 96, 25.4},
        {"Picas (pc)", "Inches (in)", 6, 1},
        {"TeX points (pt TeX)", "Millimeters (mm)", 72.27, 25.4},
        {"Didot points (dd)", "Millimeters (mm)", 1, 0.376065},
        {"Deniers (den)", "Tex (tex)", 9, 1},
        {"Pounds per foot (lb/ft)", "Kilograms per meter (kg/m)", 1, 0.45359237 / 0.3048},
        {"Bond pounds (lb bond)", "Grams per square meter (g/m²)", 1,
         453.59237 / (500 * 17 * 22 * 0.00064516)},
        {"Ounces per square yard (oz/yd²)", "Grams per square meter (g/m²)", 1,
         28.349523125 / 0.83612736},
        {"Pounds per acre (lb/ac)", "Kilograms per hectare (kg/ha)", 1, 0.45359237 / 0.40468564224},
        {"US gallons per 100 miles (gal/100 mi)", "Liters per 100 kilometers (L/100 km)", 1,
         3.785411784 / 1.609344},
        {"Btu per pound (Btu/lb)", "Joules per kilogram (J/kg)", 1, 2326},
        {"Btu per pound °F (Btu/(lb·°F))", "Joules per kilogram kelvin (J/(kg·K))", 1, 4186.8},
        {"Thermochemical kilocalories per mole (kcal/mol)", "Kilojoules per mole (kJ/mol)", 1,
         4.184},
        {"Electronvolts per particle (eV)", "Kilojoules per mole (kJ/mol)", 1, 96.48533212331001},
        {"Pound feet per second (lb·ft/s)", "Kilogram meters per second (kg·m/s)", 1,
         0.138254954376},
        {"Pound square feet (lb·ft²)", "Kilogram square meters (kg·m²)", 1, 0.0421401100938048},
        {"Dynes per centimeter (dyn/cm)", "Millinewtons per meter (mN/m)", 1, 1},
        {"Pounds-force per inch (lbf/in)", "Newtons per millimeter (N/mm)", 1,
         4.4482216152605 / 25.4},
        {"Reciprocal centimeters (cm⁻¹)", "Terahertz (THz)", 1, 0.0299792458},
        {"Electronvolts (eV)", "Reciprocal centimeters (cm⁻¹)", 1, 8065.543937349212},
        {"Roentgens (R)", "Coulombs per kilogram (C/kg)", 1, 2.58e-4},
        {"Millirems per hour (mrem/h)", "Microsieverts per hour (µSv/h)", 1, 10},
        {"Enzyme units (U)", "Nanokatals (nkat)", 60, 1000},
        {"US R-values (ft²·°F·h/Btu)", "RSI values (m²·K/W)", 1,
         0.09290304 * 3600 / 1.8 / 1055.05585262},
        {"Clo (clo)", "RSI values (m²·K/W)", 1, 0.155},
        {"Per degree Fahrenheit (1/°F)", "Per kelvin (1/K)", 1, 1.8},
        {"Dots per inch (dpi)", "Dots per centimeter (dots/cm)", 254, 100},
    };
    std::map<std::pair<QString, QString>, Row> byPair;
    for (const Row &r : LoadRows()) byPair[{r.from, r.to}] = r;
    QStringList wrong;
    for (const auto &[from, to, value, expected] : refs) {
      const auto it = byPair.find({QString::fromUtf8(from), QString::fromUtf8(to)});
      const double got = it == byPair.end() ? NAN : it->second.Forward(value);
      if (!(std::fabs(got - expected) <= 1e-12 * (expected == 0 ? 1 : std::fabs(expected))))
        wrong << QString("%1 %2 -> %3: %4").arg(value).arg(from, to).arg(got, 0, 'g', 17);
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));
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
