#include "labels/LabelLine.h"

#include "core/Cp1252.h"
#include "core/SqlText.h"

namespace labels {

namespace {

// Indexes into LabelLine::others.
constexpr int kDatiProdotto = 0;
constexpr int kDescrizione = 1;
constexpr int kCausale = 2;
constexpr int kFirstRestocking = 3;  // ORDINE; fields 5 to 13
constexpr int kRestockingFields = 9;
constexpr int kEan = 12;

bool isEan(const QString& field) {
  if (field.size() != 13) return false;
  for (const QChar c : field)
    if (c < '0' || c > '9') return false;
  return true;
}

std::optional<QString> textOrNull(const QString& field) {
  if (field.isEmpty()) return std::nullopt;
  return core::apostrophesToAcute(field);
}

QString literal(const std::optional<QString>& value) {
  return value ? core::sqlString(*value) : QStringLiteral("NULL");
}

}  // namespace

LabelLine parseLabelLine(const QString& text) {
  const QStringList fields = text.split(';');
  const auto field = [&fields](int number) {
    return number <= fields.size() ? fields[number - 1] : QString();
  };
  LabelLine line;
  line.codice = field(3);
  line.others[kDatiProdotto] = textOrNull(field(1));
  line.others[kDescrizione] = textOrNull(field(2));
  const QString fourth = field(4);
  if (fourth.toUpper() == QLatin1String("RIASS")) {
    line.kind = LabelKind::Restocking;
    line.others[kCausale] = QStringLiteral("RIASS");
    for (int i = 0; i < kRestockingFields; ++i)
      line.others[kFirstRestocking + i] = textOrNull(field(5 + i));
  } else if (isEan(fourth)) {
    line.kind = LabelKind::Ean;
    line.others[kEan] = fourth;
  }
  return line;
}

QList<LineValue> lineValues(const LabelLine& line) {
  // The columns of LabelLine::others and the fields they come from.
  static const std::array<std::pair<int, const char*>, kLineColumns - 1> kColumns{{
      {1, "DATIPRODOTTO"},
      {2, "DESCRIZIONE"},
      {4, "CAUSALE"},
      {5, "ORDINE"},
      {6, "CODCLIDESTIN"},
      {7, "RAGSOCCLIDESTIN"},
      {8, "FORNITORE"},
      {9, "INDIRIZZO"},
      {10, "CAP"},
      {11, "CITTA"},
      {12, "PROVINCIA"},
      {13, "NAZIONE"},
      {4, "CODICE_EAN"},
  }};
  QList<LineValue> values{{3, QStringLiteral("CODICE"), line.codice}};
  for (std::size_t i = 0; i < kColumns.size(); ++i)
    if (line.others[i])
      values.append({kColumns[i].first, QString::fromLatin1(kColumns[i].second), *line.others[i]});
  return values;
}

QStringList insertStatementLines(const QString& idAcquisizione, const LabelLine& line) {
  QStringList lines{QStringLiteral("INSERT INTO ETICHETTE (ID,IDACQUISIZIONE,CODICE,"),
                    QStringLiteral("DATIPRODOTTO,DESCRIZIONE,CAUSALE,ORDINE,CODCLIDESTIN,"),
                    QStringLiteral("RAGSOCCLIDESTIN,FORNITORE,INDIRIZZO,CAP,CITTA,PROVINCIA,"),
                    QStringLiteral("NAZIONE,CODICE_EAN) VALUES("),
                    QStringLiteral("GEN_ID(IDETICHETTECOUNTER,1),"),
                    core::sqlString(idAcquisizione) + ',',
                    core::sqlString(line.codice) + ','};
  for (int i = 0; i < kLineColumns - 1; ++i)
    lines << literal(line.others[static_cast<std::size_t>(i)]) + (i == kEan ? ')' : ',');
  return lines;
}

QString insertStatementWithMarkers() {
  return QStringLiteral(
      "INSERT INTO ETICHETTE (ID,IDACQUISIZIONE,CODICE,"
      "DATIPRODOTTO,DESCRIZIONE,CAUSALE,ORDINE,CODCLIDESTIN,"
      "RAGSOCCLIDESTIN,FORNITORE,INDIRIZZO,CAP,CITTA,PROVINCIA,"
      "NAZIONE,CODICE_EAN) VALUES(GEN_ID(IDETICHETTECOUNTER,1),?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
}

QVariantList insertValues(const QString& idAcquisizione, const LabelLine& line) {
  QVariantList values;
  values.reserve(kLineColumns + 1);
  values << idAcquisizione << line.codice;
  for (const std::optional<QString>& value : line.others)
    values << (value ? QVariant(*value) : QVariant());
  return values;
}

}  // namespace labels
