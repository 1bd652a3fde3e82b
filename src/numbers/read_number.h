#pragma once

#include <QChar>
#include <QStringView>

namespace qlc {

// The separators of the user's locale that number texts use.
struct NumberSeparators {
  QChar decimal = u'.';
  QChar group = u',';
};

inline constexpr NumberSeparators kEnglishSeparators{u'.', u','};

// The separators of the default locale (QLocale(), the system locale unless a test
// changed the default). Read afresh on each call. A locale without a grouping separator
// gives a null group: no grouping is accepted then.
NumberSeparators CurrentSeparators();

enum class ReadStatus { Number, NotANumber, Overflow };

struct [[nodiscard]] ReadResult {
  ReadStatus status = ReadStatus::NotANumber;
  double value = 0.0;
  bool ok() const { return status == ReadStatus::Number; }
};

// The one rule by which a text becomes a number: blanks around, optional sign, digits
// with grouping separators between integer digits, at most one decimal separator,
// optional exponent (E or e, sign, digits). The value is the double nearest to the
// decimal number; a magnitude beyond the double range is Overflow, one below it reads as
// zero. Blanks are spaces, tabs and U+00A0. No currency, parentheses or hexadecimal.
ReadResult ReadNumber(QStringView text, const NumberSeparators &sep);
ReadResult ReadNumber(QStringView text);  // with CurrentSeparators()

}  // namespace qlc
