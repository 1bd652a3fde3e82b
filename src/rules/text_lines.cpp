#include "rules/text_lines.h"

#include <QTextBoundaryFinder>
#include <algorithm>
#include <vector>

namespace qlc {

namespace {

// The positions after which the text may end a line (Line) or be cut without splitting a
// character (Grapheme), in order; the end of the text is one.
std::vector<qsizetype> Boundaries(QTextBoundaryFinder::BoundaryType type, const QString &text) {
  std::vector<qsizetype> at;
  QTextBoundaryFinder finder(type, text);
  for (qsizetype p = finder.toNextBoundary(); p > 0; p = finder.toNextBoundary()) at.push_back(p);
  return at;
}

// text[from, to) without its trailing blanks.
QString Piece(const QString &text, qsizetype from, qsizetype to) {
  while (to > from && text.at(to - 1).isSpace()) --to;
  return text.mid(from, to - from);
}

// The furthest boundary whose piece from `from`, followed by tail, fits the width; -1 if none.
qsizetype LastFitting(const QString &text, qsizetype from, const std::vector<qsizetype> &at,
                      int width, const TextAdvance &advance, const QString &tail = {}) {
  qsizetype best = -1;
  for (auto b = std::upper_bound(at.begin(), at.end(), from); b != at.end(); ++b) {
    if (advance(Piece(text, from, *b) + tail) > width) break;
    best = *b;
  }
  return best;
}

}  // namespace

FittedLines FitLines(const QString &text, int width, int maxLines, const TextAdvance &advance) {
  static const QString ellipsis = QStringLiteral("\u2026");
  const std::vector<qsizetype> breaks = Boundaries(QTextBoundaryFinder::Line, text);
  const std::vector<qsizetype> chars = Boundaries(QTextBoundaryFinder::Grapheme, text);
  FittedLines out;
  const qsizetype n = text.size();
  qsizetype from = 0;
  const auto skipBlanks = [&] {
    while (from < n && text.at(from).isSpace()) ++from;
  };
  skipBlanks();
  while (from < n) {
    if (out.lines.size() + 1 >= std::max(1, maxLines)) {
      const QString rest = Piece(text, from, n);
      if (advance(rest) <= width) {
        out.lines << rest;
      } else {
        const qsizetype end = LastFitting(text, from, chars, width, advance, ellipsis);
        out.lines << (end < 0 ? QString() : Piece(text, from, end)) + ellipsis;
        out.cut = true;
      }
      break;
    }
    qsizetype end = LastFitting(text, from, breaks, width, advance);
    if (end < 0) end = LastFitting(text, from, chars, width, advance);
    // A line holds at least one character, however narrow the box.
    if (end < 0) end = *std::upper_bound(chars.begin(), chars.end(), from);
    out.lines << Piece(text, from, end);
    from = end;
    skipBlanks();
  }
  return out;
}

}  // namespace qlc
