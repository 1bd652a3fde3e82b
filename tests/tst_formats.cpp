#include <QtTest>
#include <cmath>

#include "numbers/formats.h"

using namespace qlc;

namespace {
// English, comma decimal, and a non-ASCII grouping separator.
constexpr NumberSeparators kStyles[] = {kEnglishSeparators, {u',', u'.'}, {u',', u'\u202F'}};

// An English number text written with other separators.
QString In(QString text, const NumberSeparators &sep) {
  for (QChar &c : text) c = c == u'.' ? sep.decimal : c == u',' ? sep.group : c;
  return text;
}

void AddRows(std::initializer_list<QStringList> rows) {
  QTest::addColumn<QStringList>("row");
  for (const QStringList &r : rows) QTest::newRow(qPrintable(r.mid(0, 2).join(u' '))) << r;
}
}  // namespace

class TestFormats : public QObject {
  Q_OBJECT
 private slots:
  // Text, pattern ("general": GeneralText of the number read), expected text.
  void formatValue_data() {
    // clang-format off
    AddRows({{"1.005", "###########0.00", "1.01"}, {"0.125", "#.00", ".13"}, {"2.5", "#", "3"},
        {"0.125", "###########0.00", "0.13"}, {"-2.5", "########0", "-3"}, {"0.6", "#", "1"},
        {"0.995", "#.00", "1.00"}, {"123456789012.5", "#", "123456789013"},
        {"1234567890123456789", "#", "1234567890123460000"}, {"1,234.5678", "#", "1235"},
        {"1234567890.12345678", "##############.00000", "1234567890.12346"},
        {"99999.999999", "#.00", "100000.00"}, {"0.000012345", "##############.00000", ".00001"},
        {"-0.25", "###########0.00", "-0.25"}, {"-0.25", "#.00", "-.25"}, {"-0.4", "#", ""},
        {"-0.001", "#.00", ".00"}, {"-0.001", "###########0.00", "0.00"}, {"-0", "########0", "0"},
        {"99950", "Scientific", "1.00E+05"}, {"1e100", "Scientific", "1.00E+100"},
        {"-98765", "scientific", "-9.88E+04"}, {"-0", "scientific", "0.00E+00"},
        {"1.005", "Scientific", "1.01E+00"}, {"9.995", "SCIENTIFIC", "1.00E+01"},
        {"-1.2345e-300", "Scientific", "-1.23E-300"}, {"4.9e-324", "Scientific", "4.94E-324"},
        {"abc", "#.00", "abc"}, {"", "#.00", ""}, {"1e400", "#", "1e400"},
        {" 7 ", "#.00", "7.00"},
        {"0.3048", "general", "0.3048"}, {"-40", "general", "-40"}, {"-0", "general", "0"},
        {"1e20", "general", "1E+20"}, {"1.5e-5", "general", "1.5E-05"}, {"1e15", "general", "1E+15"},
        {"-2.5e300", "general", "-2.5E+300"}, {"0.30000000000000004", "general", "0.3"},
        {"-0.6666666666666666", "general", "-0.666666666666667"}, {"1e-4", "general", "0.0001"},
        {"9.99e-5", "general", "9.99E-05"}, {"999999999999999", "general", "999999999999999"},
        {"999999999999999.9", "general", "1E+15"}, {"123456789012.5", "general", "123456789012.5"},
        {"1234567890123456789", "general", "1.23456789012346E+18"},
        {"5e-324", "general", "4.94065645841247E-324"},
        {"1.7976931348623157e308", "general", "1.79769313486231E+308"},
        {"-1.7976931348623155e308", "general", "-1.79769313486231E+308"},
        {"1.7976931348623e308", "general", "1.7976931348623E+308"}});
    // clang-format on
  }
  void formatValue() {
    QFETCH(QStringList, row);
    const bool general = row[1] == u"general";
    for (const NumberSeparators &sep : kStyles) {
      const QString text = In(row[0], sep);
      QCOMPARE(
          general ? GeneralText(ReadNumber(text, sep).value, sep) : FormatValue(text, row[1], sep),
          In(row[2], sep));
    }
    QCOMPARE(general ? GeneralText(NAN, {}) : FormatValue(INFINITY, row[1], {}), QString());
  }

  // 0.25 in Text2 and 0 in Text1 under every set and choice 0..6 ("0.25 text/0 text").
  void patternSets() {
    const std::pair<const PatternSet *, QString> table[] = {
        {&DigitsChangeFormats, "0/0 0.3/0.0 0.25/0.00 0.250/0.000 0.2500/0.0000 0.25000/0.00000"},
        {&TableFormats, "/ 0.3/0.0 .25/.00 0.250/0.000 0.2500/0.0000 0.25000/0.00000"},
        {&PrevPageFormats, "/ .3/.0 .25/.00 .250/.000 .2500/.0000 .25000/.00000"},
        {&FromEntryFormats, "/ .3/.0 .25/.00 .250/.000 .2500/.0000 .25000/.00000"},
        {&ToEntryFormats, "/ .3/.0 .25/.00 .250/.000 .2500/.0000 0.25000/0.00000"}};
    for (const auto &[set, texts] : table) {
      const QStringList choices = (texts + " 2.50E-01/0.00E+00").split(u' ');
      for (const NumberSeparators &sep : kStyles) {
        for (int choice = 0; choice <= 6; ++choice) {
          QString text1 = "0", text2 = In("0.25", sep);
          RenderValueFields(text1, text2, QString::number(choice), *set, sep);
          QCOMPARE(text2 + u'/' + text1, In(choices[choice], sep));
        }
      }
    }
  }

  // Digits texts that select a pattern or none (-1): then both fields stay as they are.
  void digitsChoice() {
    // clang-format off
    const std::tuple<QString, int, QString> table[] = {{" 6.0 ", 6, "2.50E-01"},
        {"3e0", 3, "0.250"}, {"-0", 0, ""}, {"7", -1, "0.25"}, {"2.5", -1, "0.25"},
        {"-1", -1, "0.25"}, {"abc", -1, "0.25"}, {"", -1, "0.25"}};
    // clang-format on
    for (const NumberSeparators &sep : kStyles) {
      for (const auto &[digits, choice, text] : table) {
        QCOMPARE(DigitsChoice(In(digits, sep), sep).value_or(-1), choice);
        QString text1 = "abc", text2 = In("0.25", sep);
        RenderValueFields(text1, text2, In(digits, sep), TableFormats, sep);
        QCOMPARE(text1 + u'/' + text2, In("abc/" + text, sep));
      }
    }
  }
};

QTEST_GUILESS_MAIN(TestFormats)
#include "tst_formats.moc"
