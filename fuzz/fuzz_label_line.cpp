// A line of a label file (Windows-1252 bytes) through the import's parsing
// and both forms of its insert statement.
#include <QVariantList>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/Cp1252.h"
#include "labels/LabelLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const labels::LabelLine line = labels::parseLabelLine(core::fromCp1252(bytes));
  const QStringList text = labels::insertStatementLines(QStringLiteral("1"), line);
  const QVariantList values = labels::insertValues(QStringLiteral("1"), line);
  // Every value reaches the statement quoted: an apostrophe never survives
  // unpaired, and the bound form has one value per marker.
  for (const QString& statementLine : text)
    if (statementLine.count(QLatin1Char('\'')) % 2 != 0) std::abort();
  if (values.size() != labels::insertStatementWithMarkers().count(QLatin1Char('?'))) std::abort();
  return 0;
}
