#pragma once
// Text and pictures must stand out from what they are drawn on, in any desktop palette.
// The measure is the WCAG contrast ratio of two sRGB colours.

namespace qlc {

struct Rgb {
  int red = 0, green = 0, blue = 0;  // 0 to 255 each
  friend bool operator==(const Rgb &, const Rgb &) = default;
};

// The ratio of the lighter colour's relative luminance plus 0.05 to the darker one's: 1 for
// equal colours, 21 for black on white.
double ContrastRatio(Rgb a, Rgb b);

// The ratio readable text and pictures need.
inline constexpr double kReadableContrast = 4.5;

// `colour` where it reaches `minimum` against `ground`; else the least change of it that
// does: a mix with white or with black (whichever stands out more from the ground), in
// hundredths, so the hue stays. Any minimum up to 4.58 is reached at the latest by white
// or black themselves.
Rgb ReadableTint(Rgb colour, Rgb ground, double minimum = kReadableContrast);

}  // namespace qlc
