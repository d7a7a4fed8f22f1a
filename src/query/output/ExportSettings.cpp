#include "query/output/ExportSettings.h"

namespace query::output {

QString typeWord(ExportType type) {
  switch (type) {
    case ExportType::Testo:
      return QStringLiteral("Testo");
    case ExportType::IB:
      return QStringLiteral("IB");
    case ExportType::Excel:
      return QStringLiteral("Excel");
    case ExportType::ExcelX:
      return QStringLiteral("ExcelX");
  }
  return {};
}

std::optional<ExportType> typeFromWord(const QString& word) {
  for (ExportType type : {ExportType::Testo, ExportType::IB, ExportType::Excel, ExportType::ExcelX})
    if (typeWord(type) == word) return type;
  return std::nullopt;
}

QString defaultTextFileName(const QString& baseTable) {
  return baseTable.toUpper() + QStringLiteral(".TXT");
}

QString defaultTargetName(ExportType type, const QString& textFileName) {
  const qsizetype dot = textFileName.lastIndexOf('.');
  const QString stem = dot >= 0 ? textFileName.left(dot) : textFileName;
  switch (type) {
    case ExportType::Testo:
      return textFileName;
    case ExportType::IB:
      return QStringLiteral("EXPORT");
    case ExportType::Excel:
      return stem + QStringLiteral(".xls");
    case ExportType::ExcelX:
      return stem + QStringLiteral(".xlsx");
  }
  return textFileName;
}

QString separatorForFixedLength(const QString& separator, bool fixedLength) {
  if (fixedLength && separator == QLatin1String(";")) return QStringLiteral("|");
  if (!fixedLength && separator == QLatin1String("|")) return QStringLiteral(";");
  return separator;
}

QString withFinalBackslash(const QString& directory) {
  if (directory.isEmpty() || directory.endsWith('\\')) return directory;
  return directory + '\\';
}

QString exportDirectory(const SettingsStore& store) {
  const QString chosen = store.read(kDirectoryExport);
  if (!chosen.isEmpty()) return chosen;
  const QString temporary = store.read(kDirectoryTemporanea);
  return temporary.isEmpty() ? store.read(kDirectoryBin) : temporary;
}

}  // namespace query::output
