// Benchmarks of the converter's hot paths: loading the largest accepted convert.txt into
// both tables, every user action on the table of all its records (the group change, the
// header sort, Enter in either field, the paging buttons, a table click), and the number
// reading and rendering helpers. The main window is the real one, shown on the offscreen
// platform, so the visible table's view reacts to every change as it does on a desktop.
//
//   build/bench/bench_qlconvert --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QByteArray>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QStringList>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "data/conversion_data.h"
#include "main_window/frm_main.h"
#include "numbers/formats.h"
#include "numbers/read_number.h"
#include "rules/generic_compare.h"
#include "rules/paging.h"
#include "table/flex_grid.h"
#include "widgets/pick_combo.h"

namespace {

using qlc::kMaxConversionRecords;

// The group that one record in ten belongs to; no other group name contains it.
constexpr const char *kTenthGroup = "LENGTH";

const QStringList kOtherGroups = {"ABSORBED DOSE", "ACCELERATION",    "ANGLE",
                                  "AREA",          "CAPACITANCE",     "DATA STORAGE",
                                  "DENSITY",       "ELECTRIC CHARGE", "ELECTRIC CURRENT",
                                  "ENERGY",        "FLOW RATE",       "FORCE",
                                  "FREQUENCY",     "FUEL ECONOMY",    "ILLUMINANCE",
                                  "INDUCTANCE",    "MAGNETIC FIELD",  "MASS",
                                  "POWER",         "PRESSURE",        "PRESSURE DROP",
                                  "RADIOACTIVITY", "SPEED",           "TEMPERATURE",
                                  "TIME",          "TORQUE",          "VISCOSITY",
                                  "VOLUME",        "VOLUME (DRY)",    "WORK"};

const QStringList kUnits = {"Meters (m)",
                            "Feet (ft)",
                            "Inches (in)",
                            "Yards (yd)",
                            "Miles (mi)",
                            "Nautical miles (nmi)",
                            "Ångströms (Å)",
                            "Grams (g)",
                            "Pounds (lb)",
                            "Ounces (oz)",
                            "Stones (st)",
                            "Tonnes (t)",
                            "Seconds (s)",
                            "Minutes (min)",
                            "Hours (h)",
                            "Days (d)",
                            "Liters (L)",
                            "Gallons (US gal)",
                            "Gallons (imp gal)",
                            "Quarts (qt)",
                            "Pints (pt)",
                            "Cups",
                            "Teaspoons (tsp)",
                            "Pascals (Pa)",
                            "Bars (bar)",
                            "Atmospheres (atm)",
                            "Pounds per square inch (psi)",
                            "Millimeters of mercury (mmHg)",
                            "Joules (J)",
                            "Calories (cal)",
                            "British thermal units (BTU)",
                            "Watt-hours (Wh)",
                            "Watts (W)",
                            "Horsepower (hp)",
                            "Newtons (N)",
                            "Pounds-force (lbf)",
                            "Degrees Celsius (°C)",
                            "Degrees Fahrenheit (°F)",
                            "Kelvins (K)",
                            "Degrees Réaumur (°Ré)",
                            "Radians (rad)",
                            "Degrees (°)",
                            "Gradians (grad)",
                            "Hertz (Hz)",
                            "Revolutions per minute (rpm)",
                            "Bytes (B)",
                            "Bits (b)",
                            "Teslas (T)",
                            "Gauss (G)",
                            "Becquerels (Bq)",
                            "Curies (Ci)"};

const QStringList kPrefixes = {
    "",     "Kilo",  "Milli", "Micro",     "Mega",    "Centi",   "Deci",      "Nano",
    "Giga", "Hecto", "US ",   "Imperial ", "Metric ", "Survey ", "Nautical ", "International "};

const QStringList kMultipliers = {"0.3048",
                                  "1.8",
                                  "3.2808398950131235",
                                  "1000",
                                  "0.001",
                                  "2.54",
                                  "0.45359237",
                                  "1E-06",
                                  "1.609344",
                                  "4.1868",
                                  "0.0254",
                                  "6894.757293168361",
                                  "1",
                                  "0.5555555555555556",
                                  "3600",
                                  "9.80665",
                                  "1.0E+09",
                                  "0.01",
                                  "100",
                                  "28.349523125"};

QString UnitName(unsigned n) {
  const QString &unit = kUnits[int(n % unsigned(kUnits.size()))];
  const QString &prefix =
      kPrefixes[int((n / unsigned(kUnits.size())) % unsigned(kPrefixes.size()))];
  if (prefix.isEmpty()) return unit;
  // "Kilo" + "meters (m)"-like names; the prefixes ending in a blank stay words.
  if (prefix.endsWith(u' ')) return prefix + unit;
  return prefix + unit.left(1).toLower() + unit.mid(1);
}

// Half of the To units are number texts, as a user's own conversions to "1000" or "2.5"
// give; they sort as numbers among themselves and as text against the names.
QString ToUnit(unsigned i, unsigned n) {
  if (i % 2 == 0) {
    switch (n % 4) {
      case 0:
        return QString::number(n % 5000);
      case 1:
        return QString::number(double(n % 997) / 8.0);
      case 2:
        return QString::number(-double(n % 313));
      default:
        return QString::number(double(n % 10007) * 1000.0, 'g', 15);
    }
  }
  return UnitName(n);
}

QByteArray ConvertFile(int records) {
  QByteArray out;
  out.reserve(records * 80);
  unsigned seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) & 0xFFFFFF;
  };
  for (int i = 0; i < records; ++i) {
    const unsigned a = next(), b = next(), c = next();
    const QString group = i % 10 == 0 ? QString::fromLatin1(kTenthGroup)
                                      : kOtherGroups[int(c % unsigned(kOtherGroups.size()))];
    const QString multiplier = kMultipliers[int(c % unsigned(kMultipliers.size()))];
    // Mostly 0; temperature-like offsets now and then.
    const char *adder = "0";
    if (a % 25 == 0)
      adder = "32";
    else if (a % 25 == 1)
      adder = "-273.15";
    const QString line =
        QStringLiteral("\"%1\",\"%2\",\"%3\",\"%4\",%5\r\n")
            .arg(UnitName(a), ToUnit(unsigned(i), b), group, multiplier, QLatin1String(adder));
    out += line.toUtf8();
  }
  return out;
}

QByteArray TypeFile() {
  QStringList groups = kOtherGroups;
  groups << QString::fromLatin1(kTenthGroup);
  groups.sort();
  QByteArray out = "\"ALL\"\r\n";
  for (const QString &g : groups) out += "\"" + g.toUtf8() + "\"\r\n";
  return out;
}

// The data folder and the main window that every table benchmark works on.
struct Fixture {
  QTemporaryDir dir;
  std::unique_ptr<qlc::frmMain> window;
};
Fixture *g_fixture = nullptr;

bool WriteFile(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void ProcessEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

qlc::frmMain &Window() {
  return *g_fixture->window;
}

void PickGroup(const QString &group) {
  Window().Combo1->setEditText(group);
  Window().Combo1_Click();
}

// A left click at a point of a widget, as the mouse gives it.
void Click(QWidget *widget, QPointF pos) {
  const QPointF global = widget->mapToGlobal(pos);
  QMouseEvent press(QEvent::MouseButtonPress, pos, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, pos, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &release);
}

// A left click on a header section of the visible table.
void ClickHeader(int column) {
  QHeaderView *header = Window().MSFlexGrid1->view()->horizontalHeader();
  Click(header->viewport(),
        QPointF(header->sectionViewportPosition(column) + 4, header->height() / 2));
}

void PressEnter(QWidget *widget) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  QCoreApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  QCoreApplication::sendEvent(widget, &release);
}

// As at start-up, both tables are empty when the loading begins. Argument 1: the pending
// events (layout, paint of the visible rows) are handled inside the measured time too, so
// the figure is what the user waits for.
void BM_LoadConversions(benchmark::State &state) {
  const bool painted = state.range(0) != 0;
  for (auto _ : state) {
    state.PauseTiming();
    Window().FG1->ClearBody();
    Window().MSFlexGrid1->ClearBody();
    ProcessEvents();
    state.ResumeTiming();
    Window().LoadConversions();
    if (painted) ProcessEvents();
  }
  if (Window().FG1->Rows() != kMaxConversionRecords + 2 ||
      Window().MSFlexGrid1->Rows() != kMaxConversionRecords + 1)
    state.SkipWithError("the tables do not hold every record");
  state.counters["rows"] = Window().MSFlexGrid1->Rows() - 1;
}
BENCHMARK(BM_LoadConversions)->ArgName("painted")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The file reading alone, to tell it apart from the table fill.
void BM_ReadConversionFile(benchmark::State &state) {
  const QString path = QDir(g_fixture->dir.path()).filePath(QStringLiteral("convert.txt"));
  const qlc::NumberSeparators sep = qlc::CurrentSeparators();
  for (auto _ : state) {
    auto file = qlc::ReadConversionFile(path, sep);
    benchmark::DoNotOptimize(file.cells.data());
  }
}
BENCHMARK(BM_ReadConversionFile)->Unit(benchmark::kMillisecond);

void GroupChange(benchmark::State &state, const QString &group) {
  const bool painted = state.range(0) != 0;
  Window().Text1->setText(QStringLiteral("1"));
  for (auto _ : state) {
    PickGroup(group);
    if (painted) ProcessEvents();
  }
  state.counters["rows"] = Window().MSFlexGrid1->Rows() - 1;
}

void BM_GroupChange_All(benchmark::State &state) {
  GroupChange(state, QStringLiteral("ALL"));
}
BENCHMARK(BM_GroupChange_All)->ArgName("painted")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_GroupChange_OneInTen(benchmark::State &state) {
  GroupChange(state, QString::fromLatin1(kTenthGroup));
}
BENCHMARK(BM_GroupChange_OneInTen)
    ->ArgName("painted")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

// Argument: the column clicked, 0 From (names), 1 To (half numbers, half names). Each
// sort starts from the file order that choosing "ALL" gives, ascending (first click).
void BM_HeaderSort(benchmark::State &state) {
  const int column = int(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    PickGroup(QStringLiteral("ALL"));
    ProcessEvents();
    Window().SortFrom = 0;
    Window().SortTo = 0;
    state.ResumeTiming();
    ClickHeader(column);
    ProcessEvents();
  }
  const QString caption = Window().MSFlexGrid1->TextMatrix(0, column);
  if (!caption.endsWith(u'v')) state.SkipWithError("the header click did not sort");
  state.counters["rows"] = Window().MSFlexGrid1->Rows() - 1;
}
BENCHMARK(BM_HeaderSort)->ArgName("column")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The sort order alone on 32,766 names that are all different: the case where no
// collation work is shared between equal names.
void BM_SortOrder_DistinctNames(benchmark::State &state) {
  std::vector<QString> keys;
  for (int i = 0; i < kMaxConversionRecords; ++i)
    keys.push_back(UnitName(unsigned(i) * 2654435761u >> 8) + u' ' + QString::number(i));
  for (auto _ : state) {
    auto order = qlc::GenericSortOrder(keys, false);
    benchmark::DoNotOptimize(order.data());
  }
}
BENCHMARK(BM_SortOrder_DistinctNames)->Unit(benchmark::kMillisecond);

// The user actions not measured above, each sent as real input on the table of all
// 32,766 records. The pending events (the repaint of what changed) are handled inside the
// measured time: the figure is what the user waits for.
constexpr int kMiddleRow = kMaxConversionRecords / 2;

// Makes the middle row current and the top row shown, outside the measured time.
void AtMiddleRow() {
  Window().MSFlexGrid1->SetTopRow(kMiddleRow);
  Window().MSFlexGrid1->SetRow(kMiddleRow);
}

struct Action {
  const char *name;
  void (*prepare)();  // before each run, not measured
  void (*act)();
  bool (*done)();  // whether the action did what it should
};

const Action kActions[] = {
    {"EnterFrom",
     [] {
       Window().Text1->setText(QStringLiteral("3.5"));
       Window().Text2->setText(QStringLiteral("x"));
     },
     [] { PressEnter(Window().Text1); }, [] { return Window().Text2->text() != u"x"; }},
    {"EnterTo",
     [] {
       Window().Text2->setText(QStringLiteral("2.5"));
       Window().Text1->setText(QStringLiteral("x"));
     },
     [] { PressEnter(Window().Text2); }, [] { return Window().Text1->text() != u"x"; }},
    {"PageTop", AtMiddleRow, [] { Click(Window().TopBtn, QPointF(8, 8)); },
     [] { return Window().MSFlexGrid1->Row() == 1; }},
    {"PagePrev", AtMiddleRow, [] { Click(Window().PrevBtn, QPointF(8, 8)); },
     [] { return Window().MSFlexGrid1->Row() == kMiddleRow - qlc::PageStep; }},
    {"PageNext", AtMiddleRow, [] { Click(Window().NextBtn, QPointF(8, 8)); },
     [] { return Window().MSFlexGrid1->Row() == kMiddleRow + qlc::PageStep; }},
    {"PageBottom", AtMiddleRow, [] { Click(Window().BtmBtn, QPointF(8, 8)); },
     [] { return Window().MSFlexGrid1->Row() == kMaxConversionRecords; }},
    // The third row shown, at the middle of the table.
    {"TableClick", AtMiddleRow,
     [] {
       QTableView *view = Window().MSFlexGrid1->view();
       Click(view->viewport(), view->visualRect(view->model()->index(kMiddleRow + 1, 0)).center());
     },
     [] { return Window().MSFlexGrid1->Row() == kMiddleRow + 2; }},
};

void BM_Action(benchmark::State &state, const Action *action) {
  PickGroup(QStringLiteral("ALL"));
  Window().Text1->setText(QStringLiteral("1"));
  ProcessEvents();
  for (auto _ : state) {
    state.PauseTiming();
    action->prepare();
    ProcessEvents();
    state.ResumeTiming();
    action->act();
    ProcessEvents();
  }
  if (!action->done()) state.SkipWithError("the action did not do what it should");
  state.counters["rows"] = Window().MSFlexGrid1->Rows() - 1;
}

const std::array<QString, 12> kNumberTexts = {QStringLiteral("1"),
                                              QStringLiteral("0.3048"),
                                              QStringLiteral("3.2808398950131235"),
                                              QStringLiteral("-273.15"),
                                              QStringLiteral("1,234,567.89"),
                                              QStringLiteral("  42  "),
                                              QStringLiteral("1E-06"),
                                              QStringLiteral("6.02214076e23"),
                                              QStringLiteral("Feet (ft)"),
                                              QStringLiteral(""),
                                              QStringLiteral(".5"),
                                              QStringLiteral("12abc")};

void BM_ReadNumber(benchmark::State &state) {
  const qlc::NumberSeparators sep = qlc::CurrentSeparators();
  size_t i = 0;
  for (auto _ : state) {
    auto r = qlc::ReadNumber(kNumberTexts[i], sep);
    benchmark::DoNotOptimize(r);
    if (++i == kNumberTexts.size()) i = 0;
  }
}
BENCHMARK(BM_ReadNumber);

// The overload that looks the locale's separators up on each call.
void BM_ReadNumber_LocaleLookup(benchmark::State &state) {
  size_t i = 0;
  for (auto _ : state) {
    auto r = qlc::ReadNumber(kNumberTexts[i]);
    benchmark::DoNotOptimize(r);
    if (++i == kNumberTexts.size()) i = 0;
  }
}
BENCHMARK(BM_ReadNumber_LocaleLookup);

const std::array<double, 11> kValues = {
    0.3048, 212.0, 35.6, 1e20, -0.004, 123456.789, 0.5, 3.2808398950131235, 1e-7, -459.67, 0.0};

void BM_FormatValue(benchmark::State &state) {
  const qlc::NumberSeparators sep = qlc::CurrentSeparators();
  size_t v = 0, p = 0;
  for (auto _ : state) {
    QString text = qlc::FormatValue(kValues[v], qlc::TableFormats[p], sep);
    benchmark::DoNotOptimize(text);
    if (++v == kValues.size()) {
      v = 0;
      if (++p == qlc::TableFormats.size()) p = 0;
    }
  }
}
BENCHMARK(BM_FormatValue);

// The text overload the value fields use: read, then render.
void BM_FormatValue_Text(benchmark::State &state) {
  const qlc::NumberSeparators sep = qlc::CurrentSeparators();
  std::vector<QString> texts;
  for (double value : kValues) texts.push_back(qlc::GeneralText(value, sep));
  size_t v = 0, p = 0;
  for (auto _ : state) {
    QString text = qlc::FormatValue(texts[v], qlc::TableFormats[p], sep);
    benchmark::DoNotOptimize(text);
    if (++v == texts.size()) {
      v = 0;
      if (++p == qlc::TableFormats.size()) p = 0;
    }
  }
}
BENCHMARK(BM_FormatValue_Text);

void BM_GeneralText(benchmark::State &state) {
  const qlc::NumberSeparators sep = qlc::CurrentSeparators();
  size_t v = 0;
  for (auto _ : state) {
    QString text = qlc::GeneralText(kValues[v], sep);
    benchmark::DoNotOptimize(text);
    if (++v == kValues.size()) v = 0;
  }
}
BENCHMARK(BM_GeneralText);

}  // namespace

int main(int argc, char *argv[]) {
  // --write-data DIR: only writes the benchmark's type.txt and convert.txt into DIR, for
  // measuring the start-up on them (bench/startup.sh).
  if (argc == 3 && std::strcmp(argv[1], "--write-data") == 0) {
    const QDir dir(QString::fromLocal8Bit(argv[2]));
    const bool ok = WriteFile(dir.filePath(QStringLiteral("convert.txt")),
                              ConvertFile(kMaxConversionRecords)) &&
                    WriteFile(dir.filePath(QStringLiteral("type.txt")), TypeFile());
    if (!ok) std::fprintf(stderr, "cannot write the benchmark data into %s\n", argv[2]);
    return ok ? 0 : 1;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  // A typical desktop locale rather than whatever C locale the build machine runs in:
  // the sort's collation and the separators follow it.
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

  Fixture fixture;
  if (!fixture.dir.isValid() ||
      !WriteFile(fixture.dir.filePath(QStringLiteral("convert.txt")),
                 ConvertFile(kMaxConversionRecords)) ||
      !WriteFile(fixture.dir.filePath(QStringLiteral("type.txt")), TypeFile())) {
    std::fprintf(stderr, "cannot write the benchmark data\n");
    return 1;
  }
  QDir::setCurrent(fixture.dir.path());
  fixture.window = std::make_unique<qlc::frmMain>();
  fixture.window->show();
  ProcessEvents();
  g_fixture = &fixture;

  for (const Action &action : kActions)
    benchmark::RegisterBenchmark((std::string("BM_Action/") + action.name).c_str(), BM_Action,
                                 &action)
        ->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  g_fixture = nullptr;
  fixture.window.reset();
  QDir::setCurrent(QDir::tempPath());
  return 0;
}
