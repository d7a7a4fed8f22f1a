#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// The expressions of a list project: texts in quotation marks (or
// apostrophes), numbers, the names of variables and fields ("Totale.QTA"),
// "+" joining texts or adding numbers, "-", "*", "/", comparisons (=, <>,
// <, >, <=, >=), "and", "or", "not", parentheses and the functions Page(),
// str$(number, width, decimals), Fstr$(number, mask, flags), Upper$,
// Lower$, Trim$, Left$, Right$, Len, Date$.
namespace platform::reports {

struct ListValue {
  enum class Kind { Text, Number, Date, Boolean };
  Kind kind = Kind::Text;
  QString text;
  double number = 0;
  QDate date;
  bool boolean = false;

  static ListValue ofText(QString text) { return {Kind::Text, std::move(text), 0, {}, false}; }
  static ListValue ofNumber(double number) { return {Kind::Number, {}, number, {}, false}; }
  static ListValue ofBoolean(bool value) { return {Kind::Boolean, {}, 0, {}, value}; }
  static ListValue ofDate(QDate date) { return {Kind::Date, {}, 0, date, false}; }

  // As a column prints it.
  QString toText() const;
  bool isTrue() const;
};

// Where an expression finds names and the page number.
struct ListScope {
  std::function<const ListValue*(const QString& name)> lookup;
  int page = 1;
};

// A number through a mask of Fstr$: "-" a digit or blank (the sign goes
// before the first digit), "&" a digit shown even when zero, "#" a decimal
// digit, "," the thousands separator between digits, "." the decimal point.
QString formatWithMask(double value, const QString& mask);

class ListExpression {
 public:
  ListExpression() = default;
  // False with `error` set when the text is no expression.
  bool compile(const QString& text, QString& error);
  // The names the expression reads.
  const QStringList& names() const { return names_; }
  ListValue evaluate(const ListScope& scope) const;
  bool isEmpty() const { return root_ == nullptr; }

  struct Node;

 private:
  std::shared_ptr<const Node> root_;
  QStringList names_;
};

}  // namespace platform::reports
