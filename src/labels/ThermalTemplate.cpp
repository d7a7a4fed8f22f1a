#include "labels/ThermalTemplate.h"

#include "core/Cp1252.h"

namespace labels {

QList<QPair<QString, QString>> thermalTags(const LabelRow& row, bool excludeSerial) {
  const LabelVariables variables = labelVariables(row, excludeSerial);
  const bool dashed = row.descrizione.contains('-');
  return {{QStringLiteral("<CodiceBarre>"), variables.codiceBarre},
          {QStringLiteral("<DatiProdotto>"), variables.datiProdotto},
          {QStringLiteral("<Descrizione>"), dashed ? variables.descrizione : row.descrizione},
          {QStringLiteral("<Descrizione1>"), dashed ? variables.descrizione1 : QString()},
          {QStringLiteral("<Ordine>"), variables.ordine},
          {QStringLiteral("<Codice_EAN>"), variables.codiceEan}};
}

QStringList renderThermalTemplate(const QStringList& lines,
                                  const QList<QPair<QString, QString>>& tags) {
  QStringList rendered = lines;
  for (QString& line : rendered)
    for (const auto& [tag, value] : tags) line.replace(tag, value, Qt::CaseSensitive);
  return rendered;
}

QByteArray thermalDocument(const QStringList& renderedLines) {
  return core::toCp1252(renderedLines.join(QStringLiteral("\r\n")));
}

QStringList thermalTemplateLines(const QByteArray& bytes) {
  QString text = core::fromCp1252(bytes);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace('\r', '\n');
  // A final line end closes the last line rather than opening an empty one.
  if (text.endsWith('\n')) text.chop(1);
  return text.isEmpty() ? QStringList() : text.split('\n');
}

QString visibleBytes(const QByteArray& bytes) {
  QString shown;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == '\r') {
      shown += QStringLiteral("<CR>");
    } else if (byte == '\n') {
      shown += QStringLiteral("<LF>\n");
    } else if (byte < 0x20 || byte == 0x7F || byte == 0x81 || byte == 0x8D || byte == 0x8F ||
               byte == 0x90 || byte == 0x9D) {
      shown += QStringLiteral("<%1>").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    } else if (byte == '<') {
      // Doubled so that a template's own "<" is never read as a byte mark.
      shown += QStringLiteral("<<");
    } else {
      shown += core::fromCp1252(QByteArray(1, c));
    }
  }
  return shown;
}

}  // namespace labels
