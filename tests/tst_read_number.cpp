#include <QtTest>
#include <cmath>

#include "numbers/read_number.h"
#include "test_support.h"

using namespace qlc;

namespace {
constexpr double Over = INFINITY;  // the expected value of an overflow
struct Row {
  const char *name;
  NumberSeparators sep;
  std::vector<std::pair<QString, double>> numbers;
  QStringList nonNumbers;
};
}  // namespace

class TestReadNumber : public QObject {
  Q_OBJECT
 private slots:
  void readNumber_data() {
    const QString zeros(400, u'0');  // also texts longer than the stack buffer
    // clang-format off
    const Row rows[] = {
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
    QFETCH(Row, row);
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
};

QTEST_GUILESS_MAIN(TestReadNumber)
#include "tst_read_number.moc"
