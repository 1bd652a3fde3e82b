#pragma once
// How a text is laid out in a box a few lines high, so that no line is cut through its
// letters and no name is silently shortened.

#include <QString>
#include <QStringList>
#include <functional>

namespace qlc {

struct FittedLines {
  QStringList lines;  // top to bottom
  bool cut = false;   // the text needs more room: the last line ends in an ellipsis
};

// The width of a text, in the units of FitLines' width (pixels of the font it is drawn in).
using TextAdvance = std::function<int(const QString &)>;

// Lays the text out in at most maxLines lines no wider than width, each broken where a line
// may break (after blanks, hyphens, slashes), a word wider than a line between its
// characters. When the rest of the text does not fit on the last line, that line holds as
// much of it as fits before an ellipsis "\u2026".
FittedLines FitLines(const QString &text, int width, int maxLines, const TextAdvance &advance);

}  // namespace qlc
