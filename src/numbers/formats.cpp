#include "numbers/formats.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace qlc {

// The pattern texts are used exactly as written; only the placeholders after the decimal
// point and the one just before it make a visible difference (see FormatValue).
// clang-format off
constinit const PatternSet DigitsChangeFormats{
    u"########0", u"###########0.0", u"###########0.00", u"###########0.000",
    u"###########0.0000", u"###########0.00000", u"Scientific"};
constinit const PatternSet TableFormats{
    u"#", u"##############0.0", u"#.00", u"##############0.000",
    u"##############0.0000", u"##############0.00000", u"Scientific"};
constinit const PatternSet PrevPageFormats{
    u"#", u"##############.0", u"##############.00", u"##############.000",
    u"##############.0000", u"##############.00000", u"Scientific"};
constinit const PatternSet FromEntryFormats{
    u"###############", u"###############.0", u"###############.00", u"###############.000",
    u"###############.0000", u"###############.00000", u"scientific"};
constinit const PatternSet ToEntryFormats{
    u"###############", u"###############.0", u"###############.00", u"###############.000",
    u"###############.0000", u"#############0.00000", u"scientific"};
// clang-format on

namespace {

constexpr int kSignificant = 15;
// Decimals beyond this many would all show 0 anyway; it bounds the text buffer.
constexpr int kMaxDecimals = 64;

// A finite value taken to 15 significant decimal digits: |value| = d0.d1...d14 x 10^exponent.
// to_chars rounds correctly from the exact binary value.
struct Decimal {
  char digits[kSignificant] = {'0', '0', '0', '0', '0', '0', '0', '0',
                               '0', '0', '0', '0', '0', '0', '0'};
  int exponent = 0;
  bool negative = false;
  bool zero = true;

  explicit Decimal(double value) {
    negative = std::signbit(value);
    if (value == 0.0) return;
    zero = false;
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, std::fabs(value),
                                   std::chars_format::scientific, kSignificant - 1)
                         .ptr;
    // text: d.dddddddddddddde+XX
    digits[0] = text[0];
    for (int i = 1; i < kSignificant; ++i) digits[i] = text[i + 1];
    std::from_chars(text + kSignificant + 3, end, exponent);  // after "e+" or "e-"
    if (text[kSignificant + 2] == '-') exponent = -exponent;
    // The largest doubles round up past the double range (1.79769313486232E+308 would
    // read as an overflow); keep them on the 15-digit number just below, so they read back.
    constexpr char kLargest[] = "179769313486231";
    if (exponent == 308 && std::memcmp(digits, kLargest, kSignificant) > 0)
      std::memcpy(digits, kLargest, kSignificant);
  }

  char Digit(int position) const {
    return position >= 0 && position < kSignificant ? digits[position] : '0';
  }

  // Keeps `keep` leading digits (fewer than none means rounding to zero), halves away
  // from zero.
  void Round(int keep) {
    if (zero || keep >= kSignificant) return;
    const bool up = keep >= 0 && digits[keep] >= '5';
    for (int i = std::max(keep, 0); i < kSignificant; ++i) digits[i] = '0';
    if (!up) {
      zero = keep <= 0;
      return;
    }
    int i = keep - 1;
    while (i >= 0 && digits[i] == '9') digits[i--] = '0';
    if (i >= 0) {
      ++digits[i];
    } else {  // 9.99 -> 10.0, or a first kept digit at position -1
      digits[0] = '1';
      ++exponent;
    }
  }
};

// A text being written: a sign, digits and the decimal separator.
class TextBuffer {
 public:
  void Put(char16_t c) { text_[size_++] = c; }
  void Put(char c) { text_[size_++] = static_cast<char16_t>(c); }
  void PutExponent(int exponent) {
    Put(u'E');
    Put(exponent < 0 ? u'-' : u'+');
    char digits[8];
    const auto end = std::to_chars(digits, digits + sizeof digits, std::abs(exponent)).ptr;
    if (end - digits < 2) Put('0');
    for (const char *p = digits; p != end; ++p) Put(*p);
  }
  QString ToString() const { return QString(reinterpret_cast<const QChar *>(text_), size_); }

 private:
  char16_t text_[400];  // sign, 310 integer digits, separator, kMaxDecimals decimals
  int size_ = 0;
};

QString Scientific(double value, const NumberSeparators &sep) {
  Decimal d(value);
  d.Round(3);
  TextBuffer out;
  if (d.negative && !d.zero) out.Put(u'-');
  out.Put(d.digits[0]);
  out.Put(sep.decimal.unicode());
  out.Put(d.digits[1]);
  out.Put(d.digits[2]);
  out.PutExponent(d.zero ? 0 : d.exponent);
  return out.ToString();
}

// The value rounded to `decimals` decimals; a 0 before the separator only when `zeroUnits`.
QString Fixed(Decimal d, int decimals, bool zeroUnits, const NumberSeparators &sep) {
  d.Round(d.exponent + decimals + 1);
  TextBuffer out;
  if (d.negative && !d.zero) out.Put(u'-');
  if (!d.zero && d.exponent >= 0) {
    for (int i = 0; i <= d.exponent; ++i) out.Put(d.Digit(i));
  } else if (zeroUnits) {
    out.Put('0');
  }
  if (decimals > 0) {
    out.Put(sep.decimal.unicode());
    for (int j = 1; j <= decimals; ++j) out.Put(d.Digit(d.exponent + j));
  }
  return out.ToString();
}

}  // namespace

std::optional<int> DigitsChoice(QStringView digitsText, const NumberSeparators &sep) {
  const ReadResult r = ReadNumber(digitsText, sep);
  if (!r.ok() || r.value < 0.0 || r.value >= kDigitsChoices || r.value != std::floor(r.value))
    return std::nullopt;
  return static_cast<int>(r.value);
}

QString FormatValue(double value, QStringView pattern, const NumberSeparators &sep) {
  if (!std::isfinite(value)) return QString();
  if (pattern.size() == 10 && pattern.compare(u"scientific", Qt::CaseInsensitive) == 0)
    return Scientific(value, sep);

  const qsizetype dot = pattern.indexOf(u'.');
  const int decimals =
      dot < 0 ? 0 : static_cast<int>(std::min<qsizetype>(pattern.size() - dot - 1, kMaxDecimals));
  const qsizetype units = dot < 0 ? pattern.size() - 1 : dot - 1;
  return Fixed(Decimal(value), decimals, units >= 0 && pattern[units] == u'0', sep);
}

QString FormatValue(const QString &text, QStringView pattern, const NumberSeparators &sep) {
  const ReadResult r = ReadNumber(text, sep);
  return r.ok() ? FormatValue(r.value, pattern, sep) : text;
}

QString GeneralText(double value, const NumberSeparators &sep) {
  if (!std::isfinite(value)) return QString();
  const Decimal d(value);
  int count = kSignificant;
  while (count > 1 && d.digits[count - 1] == '0') --count;
  if (d.zero || (d.exponent < kSignificant && d.exponent >= -4))
    return Fixed(d, std::max(count - 1 - d.exponent, 0), true, sep);

  TextBuffer out;
  if (d.negative) out.Put(u'-');
  out.Put(d.digits[0]);
  if (count > 1) out.Put(sep.decimal.unicode());
  for (int i = 1; i < count; ++i) out.Put(d.digits[i]);
  out.PutExponent(d.exponent);
  return out.ToString();
}

void RenderValueFields(QString &text1, QString &text2, QStringView digitsText,
                       const PatternSet &set, const NumberSeparators &sep) {
  const std::optional<int> choice = DigitsChoice(digitsText, sep);
  if (!choice) return;
  const QStringView pattern = set[static_cast<std::size_t>(*choice)];
  text2 = FormatValue(text2, pattern, sep);
  text1 = FormatValue(text1, pattern, sep);
}

}  // namespace qlc
