#pragma once

#include <QString>

// The parameter document the decoded reprint hands to the sibling print
// library's ShowVopra11UniFormD: one line of elements, values as they are.
namespace labels {

struct VopraDocument {
  QString nomeReport;
  QString titoloStampa;
  QString percorsoTemporaneo;
  QString tabellaRighe;
  int numVariabili = 0;
  bool stampaDiretta = false;
};

// "<QuovForm><NomeReport>...</NomeReport>...</QuovForm>" for a print of the
// rows of `tabella` with the label project `report`.
QString reprintDocument(const QString& report, const QString& tempDir, const QString& tabella);

// Reads the elements back; missing elements stay empty (or 0).
VopraDocument parseVopraDocument(const QString& text);

}  // namespace labels
