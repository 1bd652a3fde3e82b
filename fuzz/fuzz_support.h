#pragma once
// Shared by the fuzz targets: a check that stops the run with a message, and the locale
// separators and texts drawn from the input.

#include <fuzzer/FuzzedDataProvider.h>

#include <QByteArray>
#include <QString>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "numbers/read_number.h"

namespace qlc::fuzz {

[[noreturn]] inline void Fail(const char *what, const char *file, int line, const QString &detail) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n  %s\n", file, line, what,
               detail.toUtf8().constData());
  std::abort();
}

#define QLC_CHECK(cond, detail) \
  ((cond) ? void() : ::qlc::fuzz::Fail(#cond, __FILE__, __LINE__, (detail)))

// English, German, French (no-break space), a locale without grouping, Swiss German.
inline constexpr NumberSeparators kSeparators[] = {
    {u'.', u','}, {u',', u'.'}, {u',', u'\u202F'}, {u'.', QChar()}, {u'.', u'\''}};

inline const NumberSeparators &PickSeparators(FuzzedDataProvider &in) {
  return kSeparators[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kSeparators) - 1)];
}

// A text taken either as UTF-8 (what a file or a keyboard gives) or as raw UTF-16 code
// units, which can hold lone surrogates.
inline QString ConsumeText(FuzzedDataProvider &in, std::size_t maxBytes = 64) {
  const bool utf16 = in.ConsumeBool();
  const std::string bytes = in.ConsumeRandomLengthString(maxBytes);
  if (!utf16) return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
  QString text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    text.append(QChar(char16_t(static_cast<unsigned char>(bytes[i]) |
                               static_cast<unsigned char>(bytes[i + 1]) << 8)));
  return text;
}

// Any bit pattern, so that subnormals, negative zero, infinities and NaN all occur.
inline double ConsumeDouble(FuzzedDataProvider &in) {
  const auto bits = in.ConsumeIntegral<std::uint64_t>();
  double value;
  static_assert(sizeof value == sizeof bits);
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

inline QString Describe(double value) {
  return QString::number(value, 'g', 17);
}

// GeneralText keeps 15 significant digits: the text is off by at most half a unit in the
// 15th digit (5E-15 of the value or less), and reading it back rounds once more to the
// nearest double (half an ulp, or the smallest subnormal step).
inline constexpr double kReadBackRounding = 1.2e-16;

inline bool Within15Digits(double read, double value) {
  const double diff = std::fabs(read - value);
  return diff <= (5e-15 + kReadBackRounding) * std::fabs(value) + 4.9406564584124654e-324;
}

}  // namespace qlc::fuzz
