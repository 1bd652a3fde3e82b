// The number texts on any input. ReadNumber: never crashes, ignores the blanks around,
// treats the two separators symmetrically and agrees with strtod on plain C-locale numbers.
// GeneralText and FormatValue on any double and pattern: what they write as a number reads
// back through ReadNumber as the value, within their rounding.

#include <cerrno>

#include "fuzz_support.h"
#include "numbers/formats.h"

using namespace qlc;
using namespace qlc::fuzz;

namespace {

bool Same(const ReadResult &a, const ReadResult &b) {
  return a.status == b.status && std::memcmp(&a.value, &b.value, sizeof a.value) == 0;
}
QString Show(const QString &text, const ReadResult &r) {
  return QStringLiteral("[%1] status %2 value %3")
      .arg(text)
      .arg(int(r.status))
      .arg(r.value, 0, 'g', 17);
}

void Read(FuzzedDataProvider &in, const NumberSeparators &sep) {
  const QString text = ConsumeText(in, 256);
  const ReadResult r = ReadNumber(text, sep);
  QLC_CHECK(r.ok() ? std::isfinite(r.value) : r.value == 0.0, Show(text, r));
  QLC_CHECK(Same(ReadNumber(QStringLiteral(" \t") + text + QStringLiteral("\u00A0 "), sep), r),
            Show(text, r));
  if (sep.decimal == u'.' && sep.group == u',') {
    QString swapped = text;
    for (QChar &c : swapped) c = c == u'.' ? u',' : c == u',' ? u'.' : c;
    QLC_CHECK(Same(ReadNumber(swapped, {u',', u'.'}), r), Show(text, r));
  }
  const std::string c = text.toStdString();
  if (!sep.group.isNull() || c.empty() || c.find_first_not_of("0123456789.eE+-") != c.npos) return;
  errno = 0;
  char *end = nullptr;
  const double value = std::strtod(c.c_str(), &end);
  const ReadResult expected = end != c.c_str() + c.size() ? ReadResult{}
                              : errno == ERANGE && std::isinf(value)
                                  ? ReadResult{ReadStatus::Overflow, 0.0}
                                  : ReadResult{ReadStatus::Number, value};
  QLC_CHECK(Same(expected, r), Show(text, r) + QStringLiteral(" strtod: ") + Show(text, expected));
}

void Format(FuzzedDataProvider &in, const NumberSeparators &sep) {
  const double value = ConsumeDouble(in);
  const PatternSet *sets[] = {&DigitsChangeFormats, &TableFormats, &PrevPageFormats,
                              &FromEntryFormats, &ToEntryFormats};
  const QStringView pattern =
      (*sets[in.ConsumeIntegralInRange(0, 4)])[in.ConsumeIntegralInRange<std::size_t>(0, 6)];
  const QString general = GeneralText(value, sep), out = FormatValue(value, pattern, sep);
  const QString what = QStringLiteral("value %1 pattern [%2] gave [%3] general [%4]")
                           .arg(value, 0, 'g', 17)
                           .arg(pattern, out, general);
  if (!std::isfinite(value)) return QLC_CHECK(general.isEmpty() && out.isEmpty(), what);
  // 15 significant digits are off by at most 5E-15 of the value, and reading back rounds
  // once more (half an ulp, or the smallest subnormal).
  const double digits15 = (5e-15 + 1.2e-16) * std::fabs(value) + 4.9406564584124654e-324;
  const ReadResult back = ReadNumber(general, sep);
  QLC_CHECK(back.ok() && std::fabs(back.value - value) <= digits15, what);
  QLC_CHECK(GeneralText(back.value, sep) == general, what);  // stable when written again

  const bool scientific = pattern.compare(u"scientific", Qt::CaseInsensitive) == 0;
  const qsizetype dot = pattern.indexOf(u'.');
  const int decimals = dot < 0 ? 0 : int(pattern.size() - dot - 1);
  const ReadResult shown = ReadNumber(out, sep);
  if (out.isEmpty()) {  // only "#" patterns without decimals, for a value that rounds to 0
    QLC_CHECK(!scientific && decimals == 0 && pattern.endsWith(u'#') && std::fabs(value) < 0.5,
              what);
  } else if (shown.status == ReadStatus::Overflow) {
    QLC_CHECK(std::fabs(value) > 1.79e308, what);  // rounded up past the largest double
  } else {
    const double allowed =
        scientific ? 0.005 * std::fabs(value) : 0.5000001 * std::pow(10.0, -decimals);
    QLC_CHECK(shown.ok() && std::fabs(shown.value - value) <= allowed + digits15, what);
  }
  // Any pattern renders within bounds; a text that is no number passes through unchanged.
  const QString anyPattern = ConsumeText(in, 128);
  QLC_CHECK(FormatValue(value, anyPattern, sep).size() < 400, anyPattern);
  const QString text = ConsumeText(in, 128);
  if (!ReadNumber(text, sep).ok()) QLC_CHECK(FormatValue(text, pattern, sep) == text, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const bool read = in.ConsumeBool();
  const NumberSeparators &sep = PickSeparators(in);
  read ? Read(in, sep) : Format(in, sep);
  return 0;
}
