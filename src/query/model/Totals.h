#pragma once

#include <array>

namespace query::model {

// Column totals of a printout, one extended-precision accumulator per answer
// column (0 to 255), zeroed before each print that has totals.
class Totals {
 public:
  static constexpr int kColumns = 256;

  void zero() { sums_.fill(0.0L); }
  // Adds to a column's total; a column outside the 256 is ignored.
  void add(int column, long double value) {
    if (column >= 0 && column < kColumns) sums_[column] += value;
  }
  long double total(int column) const {
    return column >= 0 && column < kColumns ? sums_[column] : 0.0L;
  }

 private:
  std::array<long double, kColumns> sums_{};
};

}  // namespace query::model
