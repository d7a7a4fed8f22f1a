#include "labels/LabelVariables.h"

#include <cmath>

namespace labels {

namespace {

QString withoutTrailingBlanks(QString text) {
  while (text.endsWith(' ')) text.chop(1);
  return text;
}

QString withoutLeadingBlanks(const QString& text) {
  qsizetype start = 0;
  while (start < text.size() && text.at(start) == ' ') ++start;
  return text.mid(start);
}

}  // namespace

QList<QPair<QString, QString>> LabelVariables::named() const {
  return {
      {QStringLiteral("CodiceBarre"), codiceBarre}, {QStringLiteral("DatiProdotto"), datiProdotto},
      {QStringLiteral("Descrizione"), descrizione}, {QStringLiteral("Descrizione1"), descrizione1},
      {QStringLiteral("Ordine"), ordine},           {QStringLiteral("Codice_EAN"), codiceEan}};
}

QString orderForLabel(const QString& causale, const QString& ordine) {
  if (causale != QLatin1String("RIASS") || ordine.isEmpty()) return {};
  return ordine.size() < 5 ? ordine : ordine.right(4);
}

LabelVariables labelVariables(const LabelRow& row, bool excludeSerial) {
  LabelVariables v;
  v.codiceBarre = excludeSerial ? row.codice.left(16) : row.codice;
  v.datiProdotto = row.datiProdotto;
  const qsizetype dash = row.descrizione.indexOf('-');
  if (dash < 0) {
    v.descrizione1 = withoutLeadingBlanks(row.descrizione);
  } else {
    v.descrizione = withoutTrailingBlanks(row.descrizione.left(dash));
    v.descrizione1 = withoutLeadingBlanks(row.descrizione.mid(dash + 1));
  }
  v.ordine = orderForLabel(row.causale, row.ordine);
  v.codiceEan = row.codiceEan;
  return v;
}

int labelProgress(int index, int count) {
  if (count <= 0) return 0;
  return static_cast<int>(std::nearbyint(100.0 * index / count));
}

}  // namespace labels
