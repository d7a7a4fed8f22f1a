#include "labels/VopraDocument.h"

namespace labels {

QString reprintDocument(const QString& report, const QString& tempDir, const QString& tabella) {
  return QStringLiteral("<QuovForm>") + QStringLiteral("<NomeReport>") + report +
         QStringLiteral("</NomeReport>") +
         QStringLiteral("<TitoloStampa>Ristampa etichette Articoli</TitoloStampa>") +
         QStringLiteral("<PercorsoTemporaneo>") + tempDir +
         QStringLiteral("</PercorsoTemporaneo>") + QStringLiteral("<TabellaRighe>") + tabella +
         QStringLiteral("</TabellaRighe>") + QStringLiteral("<NumVariabili>2</NumVariabili> ") +
         QStringLiteral("<StampaDiretta>1</StampaDiretta>") + QStringLiteral("</QuovForm>");
}

namespace {

// The text between <name> and </name>; values carry no markup of their own.
QString element(const QString& text, const QString& name) {
  const QString open = '<' + name + '>';
  const QString close = QStringLiteral("</") + name + '>';
  const qsizetype start = text.indexOf(open);
  if (start < 0) return {};
  const qsizetype from = start + open.size();
  const qsizetype end = text.indexOf(close, from);
  if (end < 0) return {};
  return text.mid(from, end - from);
}

}  // namespace

VopraDocument parseVopraDocument(const QString& text) {
  VopraDocument document;
  document.nomeReport = element(text, QStringLiteral("NomeReport"));
  document.titoloStampa = element(text, QStringLiteral("TitoloStampa"));
  document.percorsoTemporaneo = element(text, QStringLiteral("PercorsoTemporaneo"));
  document.tabellaRighe = element(text, QStringLiteral("TabellaRighe")).trimmed();
  document.numVariabili = element(text, QStringLiteral("NumVariabili")).trimmed().toInt();
  document.stampaDiretta = element(text, QStringLiteral("StampaDiretta")).trimmed() == "1";
  return document;
}

}  // namespace labels
