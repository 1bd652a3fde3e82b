#include "rules/contrast.h"

#include <algorithm>
#include <cmath>

namespace qlc {

namespace {

double Linear(int channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(Rgb c) {
  return 0.2126 * Linear(c.red) + 0.7152 * Linear(c.green) + 0.0722 * Linear(c.blue);
}

int Mix(int from, int to, int hundredths) {
  return int(std::lround(from + (to - from) * hundredths / 100.0));
}

}  // namespace

double ContrastRatio(Rgb a, Rgb b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb ReadableTint(Rgb colour, Rgb ground, double minimum) {
  const Rgb white{255, 255, 255}, black{0, 0, 0};
  const int toward = ContrastRatio(white, ground) >= ContrastRatio(black, ground) ? 255 : 0;
  for (int step = 0; step <= 100; ++step) {
    const Rgb mixed{Mix(colour.red, toward, step), Mix(colour.green, toward, step),
                    Mix(colour.blue, toward, step)};
    if (ContrastRatio(mixed, ground) >= minimum) return mixed;
  }
  return toward == 255 ? white : black;
}

}  // namespace qlc
