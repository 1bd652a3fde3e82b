#include <QtTest>
#include <cmath>

#include "numbers/formats.h"
#include "test_support.h"

using namespace qlc;

namespace {
// English, comma decimal, and a non-ASCII grouping separator.
constexpr NumberSeparators kStyles[] = {kEnglishSeparators, {u',', u'.'}, {u',', u'\u202F'}};

// An English number text written with other separators.
QString In(QString text, const NumberSeparators &sep) {
  for (QChar &c : text) c = c == u'.' ? sep.decimal : c == u',' ? sep.group : c;
  return text;
}

struct FormatRow {
  const char *name;  // the pattern, or "general": GeneralText of the number read
  std::vector<std::pair<QString, QString>> cases;  // text, shown
};

struct SetRow {
  const char *name;
  const PatternSet *set;
  QStringList digits = {"6", "0", "1", "2", "3", "4", "5"};
  QString shown;  // "text2/text1" for each digits text after the first (scientific)
};
}  // namespace

class TestFormats : public QObject {
  Q_OBJECT
 private slots:
  void formatValue_data() {
    // clang-format off
    const FormatRow rows[] = {
        {.name = "###########0.00", .cases = {{"1.005", "1.01"}, {"0.125", "0.13"}, {"-0.25", "-0.25"}, {"-0.001", "0.00"}}},
        {.name = "#.00", .cases = {{"0.125", ".13"}, {"99999.999999", "100000.00"}, {"-0.25", "-.25"}, {"-0.001", ".00"}, {"abc", "abc"}, {"", ""}, {" 7 ", "7.00"}}},
        {.name = "#", .cases = {{"2.5", "3"}, {"123456789012.5", "123456789013"}, {"-0.4", ""}, {"1234567890123456789", "1234567890123460000"}, {"1,234.5678", "1235"}, {"1e400", "1e400"}}},
        {.name = "########0", .cases = {{"-2.5", "-3"}, {"-0", "0"}}},
        {.name = "##############.00000", .cases = {{"1234567890.12345678", "1234567890.12346"}, {"0.000012345", ".00001"}}},
        {.name = "Scientific", .cases = {{"99950", "1.00E+05"}, {"1e100", "1.00E+100"}, {"1.005", "1.01E+00"}, {"-1.2345e-300", "-1.23E-300"}, {"4.9e-324", "4.94E-324"},
         {"-98765", "-9.88E+04"}, {"-0", "0.00E+00"}, {"9.995", "1.00E+01"}}},
        {.name = "general", .cases = {{"0.3048", "0.3048"}, {"-0", "0"}, {"1e15", "1E+15"}, {"-2.5e300", "-2.5E+300"}, {"0.30000000000000004", "0.3"}, {"1e-4", "0.0001"},
         {"-0.6666666666666666", "-0.666666666666667"}, {"9.99e-5", "9.99E-05"}, {"999999999999999", "999999999999999"}, {"999999999999999.9", "1E+15"},
         {"123456789012.5", "123456789012.5"}, {"1234567890123456789", "1.23456789012346E+18"}, {"5e-324", "4.94065645841247E-324"},
         {"1.7976931348623157e308", "1.79769313486231E+308"}, {"-1.7976931348623155e308", "-1.79769313486231E+308"}, {"1.7976931348623e308", "1.7976931348623E+308"}}}};
    // clang-format on
    test::AddRows(rows);
  }
  void formatValue() {
    QFETCH(FormatRow, row);
    const bool general = row.name == QLatin1String("general");
    for (const auto &[number, shown] : row.cases)
      for (const NumberSeparators &sep : kStyles)
        QCOMPARE(general ? GeneralText(ReadNumber(In(number, sep), sep).value, sep)
                         : FormatValue(In(number, sep), QString(row.name), sep),
                 In(shown, sep));
    QCOMPARE(general ? GeneralText(NAN, {}) : FormatValue(INFINITY, QString(row.name), {}),
             QString());
  }

  // Both value fields under every set and digits choice; a digits text that is no choice
  // 0..6 leaves them as they are.
  void renderValueFields_data() {
    // clang-format off
    const SetRow rows[] = {
        {.name = "change", .set = &DigitsChangeFormats, .shown = "0/0 0.3/0.0 0.25/0.00 0.250/0.000 0.2500/0.0000 0.25000/0.00000"},
        {.name = "table", .set = &TableFormats, .shown = "/ 0.3/0.0 .25/.00 0.250/0.000 0.2500/0.0000 0.25000/0.00000"},
        {.name = "previous page", .set = &PrevPageFormats, .shown = "/ .3/.0 .25/.00 .250/.000 .2500/.0000 .25000/.00000"},
        {.name = "from entry", .set = &FromEntryFormats, .shown = "/ .3/.0 .25/.00 .250/.000 .2500/.0000 .25000/.00000"},
        {.name = "to entry", .set = &ToEntryFormats, .shown = "/ .3/.0 .25/.00 .250/.000 .2500/.0000 0.25000/0.00000"},
        {.name = "digits texts", .set = &TableFormats, .digits = {" 6.0 ", "3e0", "-0", "7", "2.5", "-1", "abc", ""},
         .shown = "0.250/0.000 / 0.25/0 0.25/0 0.25/0 0.25/0 0.25/0"}};
    // clang-format on
    test::AddRows(rows);
  }
  void renderValueFields() {
    QFETCH(SetRow, row);
    const QStringList shown = ("2.50E-01/0.00E+00 " + row.shown).split(u' ');
    for (const NumberSeparators &sep : kStyles)
      for (int i = 0; i < row.digits.size(); ++i) {
        QString text1 = "0", text2 = In("0.25", sep);
        RenderValueFields(text1, text2, In(row.digits[i], sep), *row.set, sep);
        QCOMPARE(text2 + u'/' + text1, In(shown[i], sep));
      }
  }
};

QTEST_GUILESS_MAIN(TestFormats)
#include "tst_formats.moc"
