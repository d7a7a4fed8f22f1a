#pragma once

#include <QString>

// The grammar of a designer row's condition.
namespace query::engine {

enum class ConditionKind {
  Empty,     // no condition
  Calc,      // computed column: CALC (expression) [AS name]
  Extract,   // computed column holding EXTRACT (...)
  Raw,       // begins with "(": an SQL predicate
  Contains,  // anything else: the field contains this text
};

ConditionKind classify(const QString& condition);

// Index of `keyword` used as a call in `text`: in any letter case, not part
// of a longer name, and followed (blanks allowed) by an opening parenthesis;
// -1 when it is not there. So CALCIO or MINUTI are no calls.
qsizetype findCall(const QString& text, QLatin1StringView keyword, qsizetype from = 0);

// The computed-column text of a condition: what follows its CALC as typed, up
// to the parenthesis that closes the group CALC stands in (not taken), or the
// end. Empty when the condition holds no CALC call.
QString EstraiCalc(const QString& condition);

// The whole condition upper-cased when it holds an EXTRACT call; else empty.
QString EstraiExtract(const QString& condition);

// Whether a text calls an aggregate: SUM, COUNT, MIN, MAX or AVG.
bool TestGroupBy(const QString& text);

// Whether a computed column's text calls SOMMAPROG or INTEROQUOV, the
// procedural functions computed after the answer is open.
bool isProcedural(const QString& text);

// A computed column's expression without its " AS name" (the last one
// outside parentheses), as GROUP BY needs it.
QString withoutAlias(const QString& item);

}  // namespace query::engine
