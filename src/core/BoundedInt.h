#pragma once

namespace core {

// A number read from a file or an expression, as an int within [low, high].
// Casting a double outside int's range is undefined, and NaN compares false
// with everything, so both are settled here before the cast.
constexpr int boundedInt(double value, int low, int high) {
  if (!(value > low)) return low;
  if (value >= high) return high;
  return static_cast<int>(value);
}

}  // namespace core
