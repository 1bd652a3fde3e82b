// ReadNumber on any text: never crashes, ignores the blanks around, treats the two
// separators symmetrically and agrees with the C library on plain C-locale numbers.

#include <cerrno>

#include "fuzz_support.h"
#include "numbers/read_number.h"

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
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const NumberSeparators &sep = PickSeparators(in);
  const QString text = ConsumeText(in, 256);
  const ReadResult r = ReadNumber(text, sep);
  QLC_CHECK(r.ok() ? std::isfinite(r.value) : r.value == 0.0, Show(text, r));
  QLC_CHECK(Same(ReadNumber(QStringLiteral(" \t") + text + QStringLiteral("\u00A0 "), sep), r),
            Show(text, r));
  // Full stop and comma swapped in both the text and the separators change nothing.
  if (sep.decimal == u'.' && sep.group == u',') {
    QString swapped = text;
    for (QChar &c : swapped) c = c == u'.' ? u',' : c == u',' ? u'.' : c;
    QLC_CHECK(Same(ReadNumber(swapped, {u',', u'.'}), r), Show(text, r));
  }
  // Without grouping, a text of only digits, '.', 'e', 'E', '+' and '-' reads as strtod does.
  const std::string c = text.toStdString();
  if (sep.group.isNull() && !c.empty() &&
      c.find_first_not_of("0123456789.eE+-") == std::string::npos) {
    errno = 0;
    char *end = nullptr;
    const double value = std::strtod(c.c_str(), &end);
    const ReadResult expected = end != c.c_str() + c.size() ? ReadResult{}
                                : errno == ERANGE && std::isinf(value)
                                    ? ReadResult{ReadStatus::Overflow, 0.0}
                                    : ReadResult{ReadStatus::Number, value};
    QLC_CHECK(Same(expected, r),
              Show(text, r) + QStringLiteral(" strtod: ") + Show(text, expected));
  }
  return 0;
}
