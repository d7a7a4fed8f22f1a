#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <array>
#include <optional>

namespace labels {

// What the fourth field of a line makes of a label.
enum class LabelKind {
  Plain,       // no recognised fourth field
  Ean,         // a 13-digit EAN code
  Restocking,  // "RIASS" in any letter case; fields 5 to 13 are read
};

// How many columns of ETICHETTE an imported line fills: CODICE,
// DATIPRODOTTO, DESCRIZIONE, CAUSALE, ORDINE, CODCLIDESTIN, RAGSOCCLIDESTIN,
// FORNITORE, INDIRIZZO, CAP, CITTA, PROVINCIA, NAZIONE, CODICE_EAN, in the
// order of the import's statement.
inline constexpr int kLineColumns = 14;

// One line of a label file as the values it gives those columns. CODICE is
// the third field exactly as written (a barcode must print as given), empty
// when the line has none; every other value is a field with its apostrophes
// replaced by the acute accent, or no value (NULL) when the field is empty
// or the line's kind does not fill that column.
struct LabelLine {
  LabelKind kind = LabelKind::Plain;
  QString codice;
  std::array<std::optional<QString>, kLineColumns - 1> others;  // DATIPRODOTTO .. CODICE_EAN
};

// Splits a line at every ";" (no quoting, no trimming; a field the line does
// not reach is empty) and recognises its kind by the fourth field.
LabelLine parseLabelLine(const QString& line);

// A value of a line with the column it fills and its field's number in the
// line (1 for the first).
struct LineValue {
  int field;
  QString column;
  QString text;
};

// The line's values that are not NULL, in the columns' order.
QList<LineValue> lineValues(const LabelLine& line);

// The insert of one label of import `idAcquisizione`, as text line by line,
// with every value pasted through the quoting function: the statement shown
// in the error file when it fails.
QStringList insertStatementLines(const QString& idAcquisizione, const LabelLine& line);

// The same insert with markers, and the values for them (import identifier,
// then the fourteen columns; NULL as an invalid QVariant). Running it with
// those values stores what the text statement stores.
QString insertStatementWithMarkers();
QVariantList insertValues(const QString& idAcquisizione, const LabelLine& line);

}  // namespace labels
