#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

#include "numbers/read_number.h"

namespace qlc {

// One pattern per digits choice 0..6: its size is the number of choices.
using PatternSet = std::array<QStringView, 7>;
inline constexpr int kDigitsChoices = int(std::tuple_size_v<PatternSet>);
// The digits chooser lists the choices 0..kListedDigits-1 and starts on kStartDigits; the
// last choice (scientific) is only typed.
inline constexpr int kListedDigits = 6;
inline constexpr int kStartDigits = 2;

extern const PatternSet DigitsChangeFormats;
extern const PatternSet TableFormats;
extern const PatternSet PrevPageFormats;
extern const PatternSet FromEntryFormats;
extern const PatternSet ToEntryFormats;

// The digits chooser's text read as a number; a choice only when it is exactly one of them.
// Any other number, and a text that is not a number, select no pattern.
std::optional<int> DigitsChoice(QStringView digitsText, const NumberSeparators &sep);

// Renders a number with a digit pattern ("#.00", "###########0.0", ...) or "Scientific"
// (any letter case). The value is taken to 15 significant digits and then rounded half
// away from zero; a negative value that rounds to zero shows no sign. An infinite or NaN
// value (no caller passes one) gives the empty text.
QString FormatValue(double value, QStringView pattern, const NumberSeparators &sep);
// A text that reads as a number is rendered as that number; any other text (the empty
// text included) comes back unchanged.
QString FormatValue(const QString &text, QStringView pattern, const NumberSeparators &sep);

// Plain text of a number: at most 15 significant digits, no trailing zeros, no grouping,
// exponent form (1E+20, 1.5E-05) when |x| >= 1E+15 or 0 < |x| < 1E-04 (after the
// rounding to 15 digits). An infinite or NaN value gives the empty text.
QString GeneralText(double value, const NumberSeparators &sep);

// Re-renders both value fields with the set's pattern for the digits choice: text2
// first, then text1. Does nothing when the digits text selects no pattern.
void RenderValueFields(QString &text1, QString &text2, QStringView digitsText,
                       const PatternSet &set, const NumberSeparators &sep);

}  // namespace qlc
