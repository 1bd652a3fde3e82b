#pragma once
// Window and control positions are given in twips, 15 to the logical pixel.

#include <QWidget>
#include <cmath>

namespace qlc {

inline constexpr int kTwipsPerPixel = 15;

inline int TwipsToPx(int twips) {
  return int(std::lround(double(twips) / kTwipsPerPixel));
}

inline void PlaceTwips(QWidget *w, int left, int top, int width, int height) {
  w->setGeometry(TwipsToPx(left), TwipsToPx(top), TwipsToPx(width), TwipsToPx(height));
}

}  // namespace qlc

#include <QFont>
#include <QStringList>

namespace qlc {

// A font the design names, with the nearest ones a Linux desktop has behind it.
inline QFont DesignFont(const QString &family, double points, bool bold = false) {
  QFont f(family);
  f.setFamilies({family, QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  f.setPointSizeF(points);
  f.setBold(bold);
  return f;
}

}  // namespace qlc
