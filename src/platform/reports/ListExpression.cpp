#include "platform/reports/ListExpression.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "core/BoundedInt.h"

namespace platform::reports {

struct ListExpression::Node {
  enum class Kind { Constant, Name, Unary, Binary, Call };
  Kind kind = Kind::Constant;
  ListValue constant;
  QString name;  // name, operator or function (lower case for functions)
  std::vector<std::shared_ptr<const Node>> children;
};

namespace {

using Node = ListExpression::Node;
using NodePtr = std::shared_ptr<const Node>;

double toNumber(const ListValue& value) {
  switch (value.kind) {
    case ListValue::Kind::Number:
      return value.number;
    case ListValue::Kind::Boolean:
      return value.boolean ? 1 : 0;
    case ListValue::Kind::Date:
      return QDate(1899, 12, 30).daysTo(value.date);
    case ListValue::Kind::Text: {
      bool ok = false;
      double number = value.text.trimmed().toDouble(&ok);
      if (!ok) number = QLocale().toDouble(value.text.trimmed(), &ok);
      return ok ? number : 0;
    }
  }
  return 0;
}

QString numberText(double value, int decimals) {
  return QLocale().toString(value, 'f', decimals);
}

class Compiler {
 public:
  Compiler(const QString& text, QStringList& names) : text_(text), names_(names) {}

  NodePtr run(QString& error) {
    NodePtr root = parseOr();
    skipBlanks();
    if (root && at_ < text_.size()) fail(QStringLiteral("testo inatteso: ") + text_.mid(at_));
    error = error_;
    return error_.isEmpty() ? root : nullptr;
  }

 private:
  void fail(const QString& what) {
    if (error_.isEmpty()) error_ = what;
  }
  void skipBlanks() {
    while (at_ < text_.size() && text_.at(at_).isSpace()) ++at_;
  }
  bool take(const QString& token) {
    skipBlanks();
    if (!text_.mid(at_).startsWith(token, Qt::CaseInsensitive)) return false;
    // A word operator must stand alone.
    if (token.at(0).isLetter() && at_ + token.size() < text_.size() &&
        (text_.at(at_ + token.size()).isLetterOrNumber() ||
         text_.at(at_ + token.size()) == QLatin1Char('_')))
      return false;
    at_ += token.size();
    return true;
  }
  static NodePtr binary(const QString& op, NodePtr left, NodePtr right) {
    auto node = std::make_shared<Node>();
    node->kind = Node::Kind::Binary;
    node->name = op;
    node->children = {std::move(left), std::move(right)};
    return node;
  }

  NodePtr parseOr() {
    NodePtr left = parseAnd();
    while (left && (take(QStringLiteral("or")) || take(QStringLiteral("||"))))
      left = binary(QStringLiteral("or"), left, parseAnd());
    return left;
  }
  NodePtr parseAnd() {
    NodePtr left = parseComparison();
    while (left && (take(QStringLiteral("and")) || take(QStringLiteral("&&"))))
      left = binary(QStringLiteral("and"), left, parseComparison());
    return left;
  }
  NodePtr parseComparison() {
    NodePtr left = parseSum();
    for (const char* op : {"<>", "<=", ">=", "==", "!=", "=", "<", ">"}) {
      if (left && take(QLatin1String(op))) {
        QString name = QLatin1String(op);
        if (name == QLatin1String("==")) name = QStringLiteral("=");
        if (name == QLatin1String("!=")) name = QStringLiteral("<>");
        return binary(name, left, parseSum());
      }
    }
    return left;
  }
  NodePtr parseSum() {
    NodePtr left = parseProduct();
    for (;;) {
      if (!left) return left;
      if (take(QStringLiteral("+")))
        left = binary(QStringLiteral("+"), left, parseProduct());
      else if (take(QStringLiteral("-")))
        left = binary(QStringLiteral("-"), left, parseProduct());
      else
        return left;
    }
  }
  NodePtr parseProduct() {
    NodePtr left = parseUnary();
    for (;;) {
      if (!left) return left;
      if (take(QStringLiteral("*")))
        left = binary(QStringLiteral("*"), left, parseUnary());
      else if (take(QStringLiteral("/")))
        left = binary(QStringLiteral("/"), left, parseUnary());
      else
        return left;
    }
  }
  NodePtr parseUnary() {
    for (const char* op : {"not", "!", "-"}) {
      if (take(QLatin1String(op))) {
        auto node = std::make_shared<Node>();
        node->kind = Node::Kind::Unary;
        node->name =
            QLatin1String(op) == QLatin1String("-") ? QStringLiteral("-") : QStringLiteral("not");
        NodePtr operand = parseUnary();
        if (!operand) return nullptr;
        node->children = {operand};
        return node;
      }
    }
    return parsePrimary();
  }
  NodePtr parsePrimary() {
    skipBlanks();
    if (at_ >= text_.size()) {
      fail(QStringLiteral("espressione incompleta"));
      return nullptr;
    }
    const QChar c = text_.at(at_);
    auto node = std::make_shared<Node>();
    if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
      const qsizetype end = text_.indexOf(c, at_ + 1);
      if (end < 0) {
        fail(QStringLiteral("testo non chiuso"));
        return nullptr;
      }
      node->constant = ListValue::ofText(text_.mid(at_ + 1, end - at_ - 1));
      at_ = end + 1;
      return node;
    }
    if (c.isDigit() || c == QLatin1Char('.')) {
      qsizetype end = at_;
      while (end < text_.size() && (text_.at(end).isDigit() || text_.at(end) == QLatin1Char('.')))
        ++end;
      bool ok = false;
      const double value = text_.mid(at_, end - at_).toDouble(&ok);
      if (!ok) {
        fail(QStringLiteral("numero non valido"));
        return nullptr;
      }
      node->constant = ListValue::ofNumber(value);
      at_ = end;
      return node;
    }
    if (c == QLatin1Char('(')) {
      ++at_;
      NodePtr inner = parseOr();
      if (!inner) return nullptr;
      if (!take(QStringLiteral(")"))) {
        fail(QStringLiteral("manca )"));
        return nullptr;
      }
      return inner;
    }
    if (c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('@')) {
      qsizetype end = at_;
      while (end < text_.size() &&
             (text_.at(end).isLetterOrNumber() || text_.at(end) == QLatin1Char('_') ||
              text_.at(end) == QLatin1Char('.') || text_.at(end) == QLatin1Char('$') ||
              text_.at(end) == QLatin1Char('@')))
        ++end;
      const QString name = text_.mid(at_, end - at_);
      at_ = end;
      if (take(QStringLiteral("("))) {
        node->kind = Node::Kind::Call;
        node->name = name.toLower();
        if (!take(QStringLiteral(")"))) {
          do {
            NodePtr argument = parseOr();
            if (!argument) return nullptr;
            node->children.push_back(argument);
          } while (take(QStringLiteral(",")));
          if (!take(QStringLiteral(")"))) {
            fail(QStringLiteral("manca ) dopo ") + name);
            return nullptr;
          }
        }
        static const QStringList known = {QStringLiteral("page"),   QStringLiteral("str$"),
                                          QStringLiteral("fstr$"),  QStringLiteral("upper$"),
                                          QStringLiteral("lower$"), QStringLiteral("trim$"),
                                          QStringLiteral("left$"),  QStringLiteral("right$"),
                                          QStringLiteral("len"),    QStringLiteral("date$")};
        if (!known.contains(node->name)) {
          fail(QStringLiteral("funzione sconosciuta: ") + name);
          return nullptr;
        }
        return node;
      }
      if (name.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
          name.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
        node->constant =
            ListValue::ofBoolean(name.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0);
        return node;
      }
      node->kind = Node::Kind::Name;
      node->name = name;
      if (!names_.contains(name, Qt::CaseInsensitive)) names_ << name;
      return node;
    }
    fail(QStringLiteral("carattere inatteso: ") + QString(c));
    return nullptr;
  }

  const QString& text_;
  QStringList& names_;
  qsizetype at_ = 0;
  QString error_;
};

int compareValues(const ListValue& left, const ListValue& right) {
  if (left.kind == ListValue::Kind::Text || right.kind == ListValue::Kind::Text) {
    const int c = QString::compare(left.toText(), right.toText());
    return c < 0 ? -1 : c > 0 ? 1 : 0;
  }
  const double a = toNumber(left);
  const double b = toNumber(right);
  return a < b ? -1 : a > b ? 1 : 0;
}

ListValue evaluateNode(const Node& node, const ListScope& scope);

ListValue argument(const Node& node, size_t index, const ListScope& scope) {
  return index < node.children.size() ? evaluateNode(*node.children[index], scope) : ListValue{};
}

ListValue call(const Node& node, const ListScope& scope) {
  const QString& f = node.name;
  if (f == QLatin1String("page")) return ListValue::ofNumber(scope.page);
  if (f == QLatin1String("str$")) {
    const double value = toNumber(argument(node, 0, scope));
    const int width =
        node.children.size() > 1 ? core::boundedInt(toNumber(argument(node, 1, scope)), 0, 100) : 0;
    const int decimals =
        node.children.size() > 2 ? core::boundedInt(toNumber(argument(node, 2, scope)), 0, 12) : 0;
    return ListValue::ofText(numberText(value, decimals).rightJustified(width, ' '));
  }
  if (f == QLatin1String("fstr$"))
    return ListValue::ofText(
        formatWithMask(toNumber(argument(node, 0, scope)), argument(node, 1, scope).toText()));
  if (f == QLatin1String("date$")) {
    const ListValue value = argument(node, 0, scope);
    return ListValue::ofText(value.kind == ListValue::Kind::Date
                                 ? value.date.toString(QStringLiteral("dd/MM/yyyy"))
                                 : value.toText());
  }
  const QString text = argument(node, 0, scope).toText();
  if (f == QLatin1String("upper$")) return ListValue::ofText(text.toUpper());
  if (f == QLatin1String("lower$")) return ListValue::ofText(text.toLower());
  if (f == QLatin1String("trim$")) return ListValue::ofText(text.trimmed());
  if (f == QLatin1String("len")) return ListValue::ofNumber(double(text.size()));
  const int count =
      core::boundedInt(toNumber(argument(node, 1, scope)), 0, std::numeric_limits<int>::max());
  if (f == QLatin1String("left$")) return ListValue::ofText(text.left(count));
  return ListValue::ofText(text.right(count));
}

ListValue evaluateNode(const Node& node, const ListScope& scope) {
  switch (node.kind) {
    case Node::Kind::Constant:
      return node.constant;
    case Node::Kind::Name: {
      const ListValue* value = scope.lookup ? scope.lookup(node.name) : nullptr;
      return value ? *value : ListValue{};
    }
    case Node::Kind::Call:
      return call(node, scope);
    case Node::Kind::Unary: {
      const ListValue operand = evaluateNode(*node.children[0], scope);
      if (node.name == QLatin1String("-")) return ListValue::ofNumber(-toNumber(operand));
      return ListValue::ofBoolean(!operand.isTrue());
    }
    case Node::Kind::Binary:
      break;
  }
  const QString& op = node.name;
  const ListValue left = evaluateNode(*node.children[0], scope);
  if (op == QLatin1String("and") && !left.isTrue()) return ListValue::ofBoolean(false);
  if (op == QLatin1String("or") && left.isTrue()) return ListValue::ofBoolean(true);
  const ListValue right = evaluateNode(*node.children[1], scope);
  if (op == QLatin1String("and") || op == QLatin1String("or"))
    return ListValue::ofBoolean(right.isTrue());
  if (op == QLatin1String("+")) {
    if (left.kind == ListValue::Kind::Number && right.kind == ListValue::Kind::Number)
      return ListValue::ofNumber(left.number + right.number);
    return ListValue::ofText(left.toText() + right.toText());
  }
  if (op == QLatin1String("-")) return ListValue::ofNumber(toNumber(left) - toNumber(right));
  if (op == QLatin1String("*")) return ListValue::ofNumber(toNumber(left) * toNumber(right));
  if (op == QLatin1String("/")) {
    const double divisor = toNumber(right);
    return ListValue::ofNumber(divisor == 0 ? 0 : toNumber(left) / divisor);
  }
  const int c = compareValues(left, right);
  if (op == QLatin1String("=")) return ListValue::ofBoolean(c == 0);
  if (op == QLatin1String("<>")) return ListValue::ofBoolean(c != 0);
  if (op == QLatin1String("<")) return ListValue::ofBoolean(c < 0);
  if (op == QLatin1String(">")) return ListValue::ofBoolean(c > 0);
  if (op == QLatin1String("<=")) return ListValue::ofBoolean(c <= 0);
  return ListValue::ofBoolean(c >= 0);
}

}  // namespace

QString ListValue::toText() const {
  switch (kind) {
    case Kind::Text:
      return text;
    case Kind::Boolean:
      return boolean ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Date:
      return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString();
    case Kind::Number: {
      if (std::isfinite(number) && number == std::floor(number) && std::fabs(number) < 1e15)
        return QString::number(static_cast<qint64>(number));
      QString shown = QLocale().toString(number, 'f', 6);
      // Trailing zeros of the decimals say nothing.
      while (shown.endsWith(QLatin1Char('0'))) shown.chop(1);
      if (shown.endsWith(QLocale().decimalPoint())) shown.chop(1);
      return shown;
    }
  }
  return text;
}

bool ListValue::isTrue() const {
  switch (kind) {
    case Kind::Boolean:
      return boolean;
    case Kind::Number:
      return number != 0;
    case Kind::Date:
      return date.isValid();
    case Kind::Text:
      return text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
             text == QLatin1String("1");
  }
  return false;
}

QString formatWithMask(double value, const QString& mask) {
  const QLocale locale;
  const qsizetype point = mask.indexOf(QLatin1Char('.'));
  const QString integerMask = point < 0 ? mask : mask.left(point);
  // More decimals than a double holds say nothing.
  const int decimals = point < 0 ? 0 : std::min(15, int(mask.size() - point - 1));
  const QString digits = QString::number(std::fabs(value), 'f', decimals);
  const qsizetype dot = digits.indexOf(QLatin1Char('.'));
  QString integerDigits = dot < 0 ? digits : digits.left(dot);
  const QString decimalDigits = dot < 0 ? QString() : digits.mid(dot + 1);
  if (integerDigits == QLatin1String("0")) integerDigits.clear();

  QString out;
  qsizetype next = integerDigits.size() - 1;
  for (qsizetype i = integerMask.size() - 1; i >= 0; --i) {
    const QChar m = integerMask.at(i);
    if (m == QLatin1Char(',')) {
      if (next >= 0) out.prepend(locale.groupSeparator());
    } else if (next >= 0) {
      out.prepend(integerDigits.at(next--));
    } else if (m == QLatin1Char('&')) {
      out.prepend(QLatin1Char('0'));
    }
  }
  // Digits the mask has no room for are not lost.
  if (next >= 0) out.prepend(integerDigits.left(next + 1));
  if (decimals > 0) out += locale.decimalPoint() + decimalDigits;
  const bool zero = digits.count(QLatin1Char('0')) + (dot < 0 ? 0 : 1) == digits.size();
  if (out.isEmpty()) return {};
  if (value < 0 && !zero) out.prepend(QLatin1Char('-'));
  return out;
}

bool ListExpression::compile(const QString& text, QString& error) {
  names_.clear();
  Compiler compiler(text, names_);
  root_ = compiler.run(error);
  if (!root_ && error.isEmpty()) error = QStringLiteral("espressione vuota");
  return root_ != nullptr;
}

ListValue ListExpression::evaluate(const ListScope& scope) const {
  return root_ ? evaluateNode(*root_, scope) : ListValue{};
}

}  // namespace platform::reports
