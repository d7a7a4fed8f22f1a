#pragma once

#include <QList>
#include <QPair>
#include <QString>

// The values a label prints, computed from its ETICHETTE row. The label
// engine receives them as variables, the thermal templates as tags.
namespace labels {

struct LabelRow {
  QString codice;
  QString datiProdotto;
  QString descrizione;
  QString causale;
  QString ordine;
  QString codiceEan;
};

struct LabelVariables {
  QString codiceBarre;
  QString datiProdotto;
  QString descrizione;   // before the first "-", trailing blanks removed
  QString descrizione1;  // after the first "-" (or all of it), leading blanks removed
  QString ordine;
  QString codiceEan;

  // (name, value) in the order they are defined.
  QList<QPair<QString, QString>> named() const;
};

// excludeSerial keeps the first 16 characters of the code (the serial
// number follows them).
LabelVariables labelVariables(const LabelRow& row, bool excludeSerial);

// The order shown on restocking labels: for CAUSALE "RIASS" with an order,
// the order when shorter than 5 characters, else its last 4.
QString orderForLabel(const QString& causale, const QString& ordine);

// Progress of the label at index among count, in percent, rounded to the
// nearest integer with halves to even.
int labelProgress(int index, int count);

}  // namespace labels
