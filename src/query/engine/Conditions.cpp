#include "query/engine/Conditions.h"

#include <array>

namespace query::engine {

namespace {

bool isNameCharacter(QChar c) {
  return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

}  // namespace

qsizetype findCall(const QString& text, QLatin1StringView keyword, qsizetype from) {
  for (qsizetype at = text.indexOf(keyword, from, Qt::CaseInsensitive); at >= 0;
       at = text.indexOf(keyword, at + 1, Qt::CaseInsensitive)) {
    if (at > 0 && isNameCharacter(text[at - 1])) continue;
    qsizetype next = at + keyword.size();
    while (next < text.size() && text[next].isSpace()) ++next;
    if (next < text.size() && text[next] == u'(') return at;
  }
  return -1;
}

ConditionKind classify(const QString& condition) {
  if (condition.isEmpty()) return ConditionKind::Empty;
  if (findCall(condition, QLatin1StringView("CALC")) >= 0) return ConditionKind::Calc;
  if (findCall(condition, QLatin1StringView("EXTRACT")) >= 0) return ConditionKind::Extract;
  if (condition.startsWith(u'(')) return ConditionKind::Raw;
  return ConditionKind::Contains;
}

QString EstraiCalc(const QString& condition) {
  const qsizetype at = findCall(condition, QLatin1StringView("CALC"));
  if (at < 0) return QString();
  int depth = 0;
  qsizetype end = at + 4;
  for (; end < condition.size(); ++end) {
    if (condition[end] == u'(') ++depth;
    if (condition[end] == u')' && --depth < 0) break;
  }
  return condition.mid(at + 4, end - (at + 4));
}

QString EstraiExtract(const QString& condition) {
  return findCall(condition, QLatin1StringView("EXTRACT")) >= 0 ? condition.toUpper() : QString();
}

bool TestGroupBy(const QString& text) {
  static constexpr std::array<QLatin1StringView, 5> kAggregates{
      QLatin1StringView("SUM"), QLatin1StringView("COUNT"), QLatin1StringView("MIN"),
      QLatin1StringView("MAX"), QLatin1StringView("AVG")};
  for (QLatin1StringView aggregate : kAggregates)
    if (findCall(text, aggregate) >= 0) return true;
  return false;
}

bool isProcedural(const QString& text) {
  return text.contains(QLatin1StringView("SOMMAPROG"), Qt::CaseInsensitive) ||
         text.contains(QLatin1StringView("INTEROQUOV"), Qt::CaseInsensitive);
}

QString withoutAlias(const QString& item) {
  int depth = 0;
  qsizetype alias = -1;
  for (qsizetype i = 0; i < item.size(); ++i) {
    if (item[i] == u'(') ++depth;
    if (item[i] == u')') --depth;
    if (depth == 0 &&
        QStringView(item).mid(i, 4).compare(QLatin1StringView(" AS "), Qt::CaseInsensitive) == 0)
      alias = i;
  }
  return alias < 0 ? item : item.left(alias);
}

}  // namespace query::engine
