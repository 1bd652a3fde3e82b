#pragma once

#include <cmath>
#include <optional>

namespace qlc {

// A value through one conversion: forward, value x multiplier + adder; backward,
// (value - adder) / multiplier. One IEEE operation at a time, as the formulas read, so that
// every platform gives the same digits. Empty when the result is not a finite number.
[[nodiscard]] inline std::optional<double> Convert(double value, double multiplier, double adder,
                                                   bool forward) {
  double r;
  if (forward) {
    const double product = value * multiplier;
    r = product + adder;
  } else {
    const double difference = value - adder;
    r = difference / multiplier;
  }
  if (!std::isfinite(r)) return std::nullopt;
  return r;
}

}  // namespace qlc
