#pragma once
// Shared by the fuzz targets: a check that stops the run with a message, and the locale
// separators, texts and doubles drawn from the input.

#include <fuzzer/FuzzedDataProvider.h>

#include <QString>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "numbers/read_number.h"

#define QLC_CHECK(cond, detail)                                                                 \
  ((cond) ? void()                                                                              \
          : (std::fprintf(stderr, "%s:%d: check failed: %s\n  %s\n", __FILE__, __LINE__, #cond, \
                          QString(detail).toUtf8().constData()),                                \
             std::abort()))

namespace qlc::fuzz {

// English, German, French (no-break space), a locale without grouping, Swiss German.
inline constexpr NumberSeparators kSeparators[] = {
    {u'.', u','}, {u',', u'.'}, {u',', u'\u202F'}, {u'.', QChar()}, {u'.', u'\''}};

inline const NumberSeparators &PickSeparators(FuzzedDataProvider &in) {
  return kSeparators[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kSeparators) - 1)];
}

// UTF-8 (what a file or a keyboard gives) or raw UTF-16, which can hold lone surrogates.
inline QString ConsumeText(FuzzedDataProvider &in, std::size_t maxBytes = 64) {
  const bool utf16 = in.ConsumeBool();
  const std::string bytes = in.ConsumeRandomLengthString(maxBytes);
  if (!utf16) return QString::fromStdString(bytes);
  QString text(qsizetype(bytes.size() / 2), Qt::Uninitialized);
  std::memcpy(text.data(), bytes.data(), std::size_t(text.size()) * 2);
  return text;
}

// Any bit pattern: subnormals, negative zero, infinities and NaN all occur.
inline double ConsumeDouble(FuzzedDataProvider &in) {
  const auto bits = in.ConsumeIntegral<std::uint64_t>();
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace qlc::fuzz
