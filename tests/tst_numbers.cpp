// Number texts: reading what a user or a file writes, and showing values in each pattern.
#include <QtTest>
#include <cmath>

#include "numbers/formats.h"
#include "numbers/read_number.h"
#include "test_support.h"

using namespace qlc;

namespace {
constexpr double Over = INFINITY;  // the expected value of an overflow
struct ReadRow {
  const char *name;
  NumberSeparators sep;
  std::vector<std::pair<QString, double>> numbers;
  QStringList nonNumbers;
};
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

class TestNumbers : public QObject {
  Q_OBJECT
 private slots:
  void readNumber_data() {
    const QString zeros(400, u'0');  // also texts longer than the stack buffer
    // clang-format off
    const ReadRow rows[] = {
        {.name = "English", .sep = kEnglishSeparators, .numbers = {{"35.6", 35.6}, {"-40", -40}, {".5", 0.5}, {"5.", 5}, {"1,234.5", 1234.5}, {"1E-3", 1e-3}, {" 2 ", 2}, {"+7", 7},
         {"\t-2e+2\u00A0", -200}, {"12,34", 1234}, {"1,234,567", 1234567}, {"1e-400", 0.0}, {"9007199254740993", 9007199254740992.}, {"1.7976931348623157e308", 1.7976931348623157e308},
         {"-1e-400", -0.0}, {"0e999999", 0}, {"1e400", Over}, {"-1e400", Over}, {"1" + zeros, Over}, {"1e99999999999999999999", Over}, {"1" + zeros + "e-9", Over}, {"1" + zeros + "e-400", 1},
         {"0." + zeros + "1e400", 0.1}}, .nonNumbers = {"", "   ", "abc", "1.2.3", "2 kg", "+", ".", "-.", "e5", "1e", "1e+", ",5", "1,", "1,,2", "1,.5", "1.2,5", "1, 234", "- 5", "1 234",
         "1e5.0", "1,e5", "$5", "(5)", "&H10", "0x10", "5-", "inf", "\u0661"}},
        {.name = "comma decimal", .sep = {u',', u'.'}, .numbers = {{"0,5", 0.5}, {"1.234,5", 1234.5}, {"-1.234.567,25e2", -123456725}, {"1.5", 15}, {",5", 0.5}}, .nonNumbers = {"1,234.5", "1.", "1.,5"}},
        {.name = "non-ASCII group", .sep = {u',', u'\u202F'}, .numbers = {{"1\u202F234,5", 1234.5}, {" 0,5 ", 0.5}}, .nonNumbers = {"1 234,5", "1\u202F\u202F234", "1.5", "\u202F1", "1\u202F"}}};
    // clang-format on
    test::AddRows(rows);
  }
  void readNumber() {
    QFETCH(ReadRow, row);
    for (const auto &[text, expected] : row.numbers) {
      const ReadResult r = ReadNumber(text, row.sep);
      const bool over = std::isinf(expected),
                 same = std::signbit(r.value) == std::signbit(expected);
      QVERIFY2(r.status == (over ? ReadStatus::Overflow : ReadStatus::Number) &&
                   (over || (r.value == expected && same)),
               qPrintable(text + " gave " + QString::number(r.value, 'g', 17)));
    }
    for (const QString &text : row.nonNumbers)
      QVERIFY2(ReadNumber(text, row.sep).status == ReadStatus::NotANumber, qPrintable(text));
  }
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

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
