#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

#include "query/model/Row.h"

// The procedural functions a computed column can call: SOMMAPROG (a running
// sum in a chosen order) and INTEROQUOV (the integer part of a value). The
// database cannot compute them: the engine copies the answer into a local
// work table and computes them there. This file reads their arguments from
// the designer's rows, without a database.
namespace query::engine {

// The text with every blank removed, wherever it stands.
QString EliminaSpazzi(const QString& text);

// The result name of a computed column's text: what follows "AS " (any
// letter case) up to the first closing parenthesis or the end, without
// blanks. "AS " is looked for after the function's own arguments, so that a
// field name ending in "AS" is not taken for it. Without "AS ": "XXXXXX".
QString EstraiNomeCampoSommaProg(const QString& text);

// SOMMAPROG's arguments: the field to add and the ordering text (the fields
// after the first comma, comma-separated, blanks removed; empty without one).
struct SommaProgArguments {
  QString campo;
  QString ordinamento;

  friend bool operator==(const SommaProgArguments&, const SommaProgArguments&) = default;
};
SommaProgArguments EstraiNomeCampoDaSommare(const QString& text);

// INTEROQUOV's argument, the field whose integer part is taken.
QString EstraiNomeCampoDaCalcolareIntero(const QString& text);

// The name an unnamed result gets.
inline const QString kUnnamedResult = QStringLiteral("XXXXXX");

enum class ProceduralKind { SommaProg, InteroQuov };

// One procedural formula of the rows.
struct ProceduralFormula {
  ProceduralKind kind = ProceduralKind::SommaProg;
  QString risultato;    // the result column's name
  QString campo;        // the field it reads
  QString ordinamento;  // SOMMAPROG only: its ordering text

  friend bool operator==(const ProceduralFormula&, const ProceduralFormula&) = default;
};

// The formulas of one kind in the rows' computed columns, in row order.
// Results without a name are numbered across both kinds: the first is
// "XXXXXX", the next "XXXXXX2", "XXXXXX3", so two of them never ask for the
// same column.
QList<ProceduralFormula> proceduralFormulas(const QList<model::Row>& rows, ProceduralKind kind);

// The ordering the running sums follow: the last formula's ordering text
// (empty when the last has none).
QString sommaProgOrdering(const QList<ProceduralFormula>& sums);

// Whether an ordering text names fields only: comma-separated names (letters,
// digits, '_', '$', from a letter), each optionally after a table letter and a
// full stop, or column numbers. Anything else is a bad ordering text and never
// reaches a statement.
bool isOrderingText(const QString& ordering);

// A value read as a floating-point number: nullopt for an empty value (null
// or blank text). Text may use a decimal comma; a text that is no number
// gives nullopt with `ok` false.
std::optional<double> numericValue(const QVariant& value, bool* ok);

// The integer part, cut towards zero: 7.9 gives 7, -7.9 gives -7.
double integerPart(double value);

// The first name given twice (letter case ignored), or an empty text.
QString repeatedName(const QStringList& names);

}  // namespace query::engine
