// GeneralText and FormatValue on any double and any pattern: never crash, and what they
// write as a number reads back through ReadNumber as the value, within their rounding.

#include <array>

#include "fuzz_support.h"
#include "numbers/formats.h"

using namespace qlc;
using namespace qlc::fuzz;

namespace {

const std::array<const PatternSet *, 5> kSets = {
    &DigitsChangeFormats, &TableFormats, &PrevPageFormats, &FromEntryFormats, &ToEntryFormats};

QString Show(double value, QStringView pattern, const QString &out) {
  return QStringLiteral("value %1 pattern [%2] gave [%3]")
      .arg(Describe(value), pattern.toString(), out);
}

void CheckGeneralText(double value, const NumberSeparators &sep) {
  const QString text = GeneralText(value, sep);
  if (!std::isfinite(value)) {
    QLC_CHECK(text.isEmpty(), Show(value, u"general", text));
    return;
  }
  const ReadResult back = ReadNumber(text, sep);
  QLC_CHECK(back.ok() && Within15Digits(back.value, value), Show(value, u"general", text));
  // Already at 15 digits, so writing it again changes nothing.
  QLC_CHECK(GeneralText(back.value, sep) == text, Show(value, u"general", text));
}

void CheckPattern(double value, QStringView pattern, const NumberSeparators &sep) {
  const QString out = FormatValue(value, pattern, sep);
  if (!std::isfinite(value)) {
    QLC_CHECK(out.isEmpty(), Show(value, pattern, out));
    return;
  }
  const bool scientific = pattern.compare(u"scientific", Qt::CaseInsensitive) == 0;
  const qsizetype dot = pattern.indexOf(u'.');
  const int decimals = dot < 0 ? 0 : int(pattern.size() - dot - 1);
  if (out.isEmpty()) {
    // Only "#"-style patterns without decimals write nothing, for a value that rounds to 0.
    QLC_CHECK(!scientific && decimals == 0 && pattern.endsWith(u'#') && std::fabs(value) < 0.5,
              Show(value, pattern, out));
    return;
  }
  const ReadResult back = ReadNumber(out, sep);
  if (back.status == ReadStatus::Overflow) {
    // The rounding may carry the largest doubles past the double range, as the rule says.
    QLC_CHECK(std::fabs(value) > 1.79e308, Show(value, pattern, out));
    return;
  }
  QLC_CHECK(back.ok(), Show(value, pattern, out));
  const double diff = std::fabs(back.value - value);
  const double allowed = scientific ? (0.005 + 5e-15 + kReadBackRounding) * std::fabs(value)
                                    : 0.5000001 * std::pow(10.0, -decimals) +
                                          (5e-15 + kReadBackRounding) * std::fabs(value);
  // Subnormals read back to the nearest multiple of the smallest one.
  QLC_CHECK(diff <= allowed + 4.9406564584124654e-324, Show(value, pattern, out));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const NumberSeparators &sep = PickSeparators(in);
  const double value = ConsumeDouble(in);
  const auto set = in.ConsumeIntegralInRange<std::size_t>(0, kSets.size() - 1);
  const auto choice = in.ConsumeIntegralInRange<std::size_t>(0, 6);

  CheckGeneralText(value, sep);
  CheckPattern(value, (*kSets[set])[choice], sep);

  // A pattern of any shape must not crash or overrun, whatever it renders.
  const QString pattern = ConsumeText(in, 128);
  const QString any = FormatValue(value, pattern, sep);
  QLC_CHECK(any.size() < 400, Show(value, pattern, any));

  // A text value that is not a number passes through unchanged.
  const QString text = ConsumeText(in, 128);
  const QString rendered = FormatValue(text, (*kSets[set])[choice], sep);
  if (!ReadNumber(text, sep).ok()) QLC_CHECK(rendered == text, Show(value, pattern, rendered));
  return 0;
}
