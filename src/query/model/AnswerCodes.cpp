#include "query/model/AnswerCodes.h"

namespace query::model {

int AnswerCodes::code(int column) const {
  return valid(column) ? codes_[column] : 0;
}

void AnswerCodes::setCode(int column, int code) {
  if (valid(column)) codes_[column] = code;
}

int AnswerCodes::EstraiPosizioneOrdinamento(int code) {
  return digits(code) / 100 % 100;
}

int AnswerCodes::TipoRaggruppamento(int column) const {
  return digits(code(column)) % 10;
}

void AnswerCodes::AggTipoRaggruppamento(int column, int digit) {
  if (!valid(column) || digit < 0 || digit > 9) return;
  const int current = digits(codes_[column]);
  codes_[column] = current - current % 10 + digit;
}

bool AnswerCodes::ControlloSuTotali(int column) const {
  return digits(code(column)) / 10 % 10 == 1;
}

}  // namespace query::model
