#include "query/engine/ProceduralFunctions.h"

#include <QSet>
#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "core/SqlText.h"
#include "query/engine/Conditions.h"

namespace query::engine {

namespace {

const QLatin1StringView kSommaProg("SOMMAPROG");
const QLatin1StringView kInteroQuov("INTEROQUOV");

// The text inside the first parentheses after the function's name, and where
// they close (the text's end when they do not); nullopt without the name.
struct Arguments {
  QString text;
  qsizetype end = 0;
};
std::optional<Arguments> functionArguments(const QString& text, QLatin1StringView function) {
  const qsizetype at = text.indexOf(function, 0, Qt::CaseInsensitive);
  if (at < 0) return std::nullopt;
  const qsizetype open = text.indexOf(u'(', at + function.size());
  if (open < 0) return Arguments{QString(), text.size()};
  qsizetype close = text.indexOf(u')', open + 1);
  if (close < 0) close = text.size();
  return Arguments{text.mid(open + 1, close - open - 1), close};
}

}  // namespace

QString EliminaSpazzi(const QString& text) {
  QString result;
  result.reserve(text.size());
  for (const QChar c : text)
    if (c != u' ') result.append(c);
  return result;
}

QString EstraiNomeCampoSommaProg(const QString& text) {
  qsizetype from = 0;
  for (QLatin1StringView function : {kSommaProg, kInteroQuov})
    if (const auto arguments = functionArguments(text, function))
      from = std::max(from, arguments->end);
  const qsizetype at = text.indexOf(QLatin1StringView("AS "), from, Qt::CaseInsensitive);
  if (at < 0) return kUnnamedResult;
  const qsizetype start = at + 3;
  qsizetype end = text.indexOf(u')', start);
  if (end < 0) end = text.size();
  return EliminaSpazzi(text.mid(start, end - start));
}

SommaProgArguments EstraiNomeCampoDaSommare(const QString& text) {
  const auto arguments = functionArguments(text, kSommaProg);
  if (!arguments) return {};
  const QString list = EliminaSpazzi(arguments->text);
  const qsizetype comma = list.indexOf(u',');
  if (comma < 0) return {list, QString()};
  return {list.left(comma), list.mid(comma + 1)};
}

QString EstraiNomeCampoDaCalcolareIntero(const QString& text) {
  const auto arguments = functionArguments(text, kInteroQuov);
  return arguments ? EliminaSpazzi(arguments->text) : QString();
}

QList<ProceduralFormula> proceduralFormulas(const QList<model::Row>& rows, ProceduralKind kind) {
  QList<ProceduralFormula> formulas;
  int unnamed = 0;
  for (const model::Row& row : rows) {
    if (classify(row.condizione) != ConditionKind::Calc) continue;
    const QString text = EstraiCalc(row.condizione);
    const bool sum = text.contains(kSommaProg, Qt::CaseInsensitive);
    const bool integer = text.contains(kInteroQuov, Qt::CaseInsensitive);
    if (!sum && !integer) continue;
    QString name = EstraiNomeCampoSommaProg(text);
    if (name == kUnnamedResult && ++unnamed > 1) name += QString::number(unnamed);
    if (kind == ProceduralKind::SommaProg && sum) {
      const SommaProgArguments arguments = EstraiNomeCampoDaSommare(text);
      formulas.append({kind, name, arguments.campo, arguments.ordinamento});
    } else if (kind == ProceduralKind::InteroQuov && integer) {
      formulas.append({kind, name, EstraiNomeCampoDaCalcolareIntero(text), QString()});
    }
  }
  return formulas;
}

QString sommaProgOrdering(const QList<ProceduralFormula>& sums) {
  return sums.isEmpty() ? QString() : sums.last().ordinamento;
}

bool isOrderingText(const QString& ordering) {
  if (ordering.isEmpty()) return false;
  for (const QString& item : ordering.split(u',')) {
    bool number = false;
    if (item.toInt(&number) > 0 && number) continue;
    const bool lettered = item.size() > 2 && item[1] == u'.' && item[0].isLetter();
    if (!core::isSqlIdentifier(lettered ? item.mid(2) : item)) return false;
  }
  return true;
}

std::optional<double> numericValue(const QVariant& value, bool* ok) {
  *ok = true;
  if (value.isNull() || !value.isValid()) return std::nullopt;
  if (value.typeId() == QMetaType::QString) {
    QString text = value.toString().trimmed();
    if (text.isEmpty()) return std::nullopt;
    text.replace(u',', u'.');
    const double number = text.toDouble(ok);
    if (!*ok) return std::nullopt;
    return number;
  }
  const double number = value.toDouble(ok);
  if (!*ok) return std::nullopt;
  return number;
}

double integerPart(double value) {
  return std::trunc(value);
}

QString repeatedName(const QStringList& names) {
  QSet<QString> seen;
  for (const QString& name : names) {
    const QString key = name.toUpper();
    if (seen.contains(key)) return name;
    seen.insert(key);
  }
  return QString();
}

}  // namespace query::engine
