#include "numbers/read_number.h"

#include <QLocale>
#include <QString>
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <memory>
#include <string_view>
#include <system_error>

namespace qlc {

namespace {

// The blanks around a typed number: space, tab and the no-break space that some locales
// group digits with.
bool IsNumberBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\u00A0';
}
bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// Tells an out-of-range number apart: whether the C-locale text (never all zeros) is at least
// 1 in magnitude, i.e. too large rather than too small.
bool IsTooLarge(std::string_view text) {
  const std::size_t e = std::min(text.find('e'), text.size());
  const auto dot = static_cast<std::int64_t>(std::min(text.find('.'), e));
  const auto lead = static_cast<std::int64_t>(text.find_first_not_of("-0."));
  std::int64_t magnitude = lead < dot ? dot - lead : dot + 1 - lead;  // 1 for units
  if (e < text.size()) {
    std::string_view digits = text.substr(e + 1);
    const bool negative = digits.front() == '-';
    if (digits.front() == '-' || digits.front() == '+') digits.remove_prefix(1);
    std::int64_t exponent = 0;
    if (std::from_chars(digits.data(), digits.data() + digits.size(), exponent).ec != std::errc())
      exponent = std::int64_t{1} << 60;  // beyond any text length
    magnitude += negative ? -exponent : exponent;
  }
  return magnitude > 0;
}

}  // namespace

NumberSeparators CurrentSeparators() {
  const QLocale locale;
  const QString decimal = locale.decimalPoint();
  const QString group = locale.groupSeparator();
  NumberSeparators sep;
  sep.decimal = decimal.isEmpty() ? QChar(u'.') : decimal.front();
  sep.group = group.isEmpty() ? QChar() : group.front();
  return sep;
}

ReadResult ReadNumber(QStringView text, const NumberSeparators &sep) {
  const char16_t *s = text.utf16();
  qsizetype begin = 0, end = text.size();
  while (begin < end && IsNumberBlank(s[begin])) ++begin;
  while (end > begin && IsNumberBlank(s[end - 1])) --end;

  // The number is copied into a C-locale text: grouping dropped, '.' for the decimal
  // separator, no '+' on the mantissa. It is never longer than the source.
  constexpr qsizetype kStackSize = 128;
  char stackBuffer[kStackSize];
  std::unique_ptr<char[]> heapBuffer;
  char *out = stackBuffer;
  if (end - begin > kStackSize) {
    heapBuffer = std::make_unique<char[]>(static_cast<std::size_t>(end - begin));
    out = heapBuffer.get();
  }
  char *const first = out;

  const char16_t decimal = sep.decimal.unicode();
  const char16_t group = sep.group.isNull() ? decimal : sep.group.unicode();
  qsizetype i = begin;
  if (i < end && (s[i] == u'+' || s[i] == u'-')) {
    if (s[i] == u'-') *out++ = '-';
    ++i;
  }
  qsizetype digits = 0;
  for (; i < end; ++i) {
    const char16_t c = s[i];
    if (IsDigit(c)) {
      *out++ = static_cast<char>(c);
      ++digits;
    } else if (c != decimal && c == group && digits > 0 && IsDigit(s[i - 1]) && i + 1 < end &&
               IsDigit(s[i + 1])) {
      continue;  // a grouping separator between two integer digits
    } else {
      break;
    }
  }
  if (i < end && s[i] == decimal) {
    *out++ = '.';
    for (++i; i < end && IsDigit(s[i]); ++i, ++digits) *out++ = static_cast<char>(s[i]);
  }
  if (digits == 0) return {};
  if (i < end && (s[i] == u'e' || s[i] == u'E')) {
    *out++ = 'e';
    ++i;
    if (i < end && (s[i] == u'+' || s[i] == u'-')) *out++ = static_cast<char>(s[i++]);
    const qsizetype exponentStart = i;
    for (; i < end && IsDigit(s[i]); ++i) *out++ = static_cast<char>(s[i]);
    if (i == exponentStart) return {};
  }
  if (i != end) return {};

  ReadResult result;
  const auto [ptr, ec] = std::from_chars(first, out, result.value);
  if (ec == std::errc::result_out_of_range) {
    if (IsTooLarge(std::string_view(first, static_cast<std::size_t>(out - first))))
      return {ReadStatus::Overflow, 0.0};
    result.value = *first == '-' ? -0.0 : 0.0;  // below the smallest double: zero
  } else if (ec != std::errc() || ptr != out) {
    return {};
  }
  result.status = ReadStatus::Number;
  return result;
}

ReadResult ReadNumber(QStringView text) {
  return ReadNumber(text, CurrentSeparators());
}

}  // namespace qlc
