// ReadNumber on any text: never crashes, ignores the blanks around, treats the two
// separators symmetrically, and agrees with the C library on plain C-locale numbers.

#include <cerrno>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "numbers/formats.h"

using namespace qlc;
using namespace qlc::fuzz;

namespace {

bool Same(const ReadResult &a, const ReadResult &b) {
  if (a.status != b.status) return false;
  if (a.status != ReadStatus::Number) return true;
  return std::memcmp(&a.value, &b.value, sizeof a.value) == 0;
}

QString Show(const QString &text, const ReadResult &r) {
  return QStringLiteral("text [%1] status %2 value %3")
      .arg(text)
      .arg(int(r.status))
      .arg(Describe(r.value));
}

// The C library reading of a text made only of digits, '.', 'e', 'E', '+' and '-'.
ReadResult ReadWithStrtod(const QString &text) {
  const std::string c = text.toStdString();
  errno = 0;
  char *end = nullptr;
  const double value = std::strtod(c.c_str(), &end);
  if (c.empty() || end != c.c_str() + c.size()) return {};
  if (errno == ERANGE && std::isinf(value)) return {ReadStatus::Overflow, 0.0};
  return {ReadStatus::Number, value};
}

bool IsPlainCNumberText(const QString &text) {
  for (const QChar c : text)
    if (!(c.isDigit() && c.unicode() < 0x80) && c != u'.' && c != u'e' && c != u'E' && c != u'+' &&
        c != u'-')
      return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const NumberSeparators &sep = PickSeparators(in);
  const QString text = ConsumeText(in, 256);

  const ReadResult r = ReadNumber(text, sep);
  if (r.ok()) QLC_CHECK(std::isfinite(r.value), Show(text, r));
  if (r.status != ReadStatus::Number) QLC_CHECK(r.value == 0.0, Show(text, r));

  const QString padded = QStringLiteral(" \t") + text + QStringLiteral("\u00A0 ");
  QLC_CHECK(Same(ReadNumber(padded, sep), r), Show(text, r));

  // Swapping the full stop and the comma in both the text and the separators changes
  // nothing.
  if (sep.decimal == u'.' && sep.group == u',') {
    QString swapped = text;
    for (QChar &c : swapped) {
      if (c == u'.')
        c = u',';
      else if (c == u',')
        c = u'.';
    }
    const ReadResult s = ReadNumber(swapped, NumberSeparators{u',', u'.'});
    QLC_CHECK(Same(s, r), Show(text, r) + QStringLiteral(" swapped: ") + Show(swapped, s));
  }

  // Without grouping, a plain C-locale number reads as strtod reads it.
  if (sep.decimal == u'.' && sep.group.isNull() && IsPlainCNumberText(text)) {
    const ReadResult c = ReadWithStrtod(text);
    QLC_CHECK(Same(c, r), Show(text, r) + QStringLiteral(" strtod: ") + Show(text, c));
  }

  // Every number read has a general text that reads back.
  if (r.ok()) {
    const QString general = GeneralText(r.value, sep);
    const ReadResult back = ReadNumber(general, sep);
    QLC_CHECK(back.ok() && Within15Digits(back.value, r.value),
              Show(text, r) + QStringLiteral(" general: ") + Show(general, back));
  }
  return 0;
}
