#pragma once

#include <array>

namespace query::model {

// The Raggruppa code of every answer column (position counted from 0). A
// code read as five decimal digits, from the left: sort direction (1
// descending), sort position (two digits, 00 none), total (1 with total),
// digit grouping (0 plain, 1 separators and two decimals, 2 separators and no
// decimals). Positions outside the 256 columns read as 0 and ignore writes.
class AnswerCodes {
 public:
  static constexpr int kColumns = 256;

  int code(int column) const;
  void setCode(int column, int code);

  // The sort position a code holds (digits 2 and 3).
  static int EstraiPosizioneOrdinamento(int code);
  static bool isSortKey(int code) { return code >= 100; }
  static bool isDescending(int code) { return code > 9999; }

  // Digit grouping of a column (digit 5) and its replacement.
  int TipoRaggruppamento(int column) const;
  void AggTipoRaggruppamento(int column, int digit);
  // Whether printouts end with the total of the column (digit 4).
  bool ControlloSuTotali(int column) const;

 private:
  static bool valid(int column) { return column >= 0 && column < kColumns; }
  // The five digits the code is read as.
  static int digits(int code) { return code < 0 ? 0 : code % 100000; }

  std::array<int, kColumns> codes_{};
};

}  // namespace query::model
