#include <QLocale>
#include <QtTest>
#include <cmath>

#include "numbers/read_number.h"

using namespace qlc;

namespace {
// English, comma decimal, and a non-ASCII grouping separator.
constexpr NumberSeparators kStyles[] = {kEnglishSeparators, {u',', u'.'}, {u',', u'\u202F'}};
constexpr double NotANumber = NAN, Over = INFINITY;  // expected values for the two failures
}  // namespace

class TestReadNumber : public QObject {
  Q_OBJECT
 private slots:
  void readNumber() {
    const QString zeros(400, u'0');  // also texts longer than the stack buffer
    // clang-format off
    const std::tuple<int, QString, double> rows[] = {
        {0, "35.6", 35.6}, {0, "-40", -40}, {0, ".5", 0.5}, {0, "5.", 5}, {0, "1,234.5", 1234.5},
        {0, "1E-3", 1e-3}, {0, " 2 ", 2}, {0, "+7", 7}, {0, "\t-2e+2\u00A0", -200},
        {0, "12,34", 1234}, {0, "1,234,567", 1234567}, {0, "9007199254740993", 9007199254740992.},
        {0, "1.7976931348623157e308", 1.7976931348623157e308}, {0, "1e-400", 0.0},
        {0, "-1e-400", -0.0}, {0, "0e999999", 0}, {0, "1e400", Over}, {0, "-1e400", Over},
        {0, "1e99999999999999999999", Over}, {0, "1" + zeros, Over}, {0, "1" + zeros + "e-9", Over},
        {0, "1" + zeros + "e-400", 1}, {0, "0." + zeros + "1e400", 0.1}, {1, "0,5", 0.5},
        {1, "1.234,5", 1234.5}, {1, "-1.234.567,25e2", -123456725}, {1, "1.5", 15}, {1, ",5", 0.5},
        {2, "1\u202F234,5", 1234.5}, {2, " 0,5 ", 0.5}};
    const QStringList nonNumbers[] = {
        {"", "   ", "abc", "1.2.3", "2 kg", "+", ".", "-.", "e5", "1e", "1e+", ",5", "1,", "1,,2",
         "1,.5", "1.2,5", "1, 234", "- 5", "1 234", "1e5.0", "1,e5", "$5", "(5)", "&H10", "0x10",
         "5-", "inf", "\u0661"},
        {"1,234.5", "1.", "1.,5"},
        {"1 234,5", "1\u202F\u202F234", "1.5", "\u202F1", "1\u202F"}};
    // clang-format on
    std::vector<std::tuple<int, QString, double>> all(std::begin(rows), std::end(rows));
    for (int style = 0; style < 3; ++style)
      for (const QString &text : nonNumbers[style]) all.emplace_back(style, text, NotANumber);
    for (const auto &[style, text, expected] : all) {
      const ReadResult r = ReadNumber(text, kStyles[style]);
      const auto status = std::isnan(expected)   ? ReadStatus::NotANumber
                          : std::isinf(expected) ? ReadStatus::Overflow
                                                 : ReadStatus::Number;
      QVERIFY2(r.status == status && (!r.ok() || (r.value == expected &&
                                                  std::signbit(r.value) == std::signbit(expected))),
               qPrintable(QString("%1 [%2]: %3").arg(style).arg(text).arg(r.value, 0, 'g', 17)));
    }
  }

  void currentSeparators() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(CurrentSeparators().decimal, u',');
    QCOMPARE(CurrentSeparators().group, u'.');
    QCOMPARE(ReadNumber(u"1.234,5").value, 1234.5);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(ReadNumber(u"1,234.5").value, 1234.5);
  }
};

QTEST_GUILESS_MAIN(TestReadNumber)
#include "tst_read_number.moc"
