#pragma once

#include <QString>
#include <functional>
#include <optional>

// What the export settings window offers and keeps: the export types with
// their type words and default target names, the settings it reads and
// stores, and the choice it hands back.
namespace query::output {

enum class ExportType { Testo, IB, Excel, ExcelX };

// "Testo", "IB", "Excel", "ExcelX".
QString typeWord(ExportType type);
std::optional<ExportType> typeFromWord(const QString& word);

// The text file name proposed for a base table: its name in upper case with ".TXT".
QString defaultTextFileName(const QString& baseTable);
// The target name a type proposes, from the text file name: the text file
// itself, "EXPORT" for a database table, the name with ".xls" or ".xlsx".
QString defaultTargetName(ExportType type, const QString& textFileName);
// The separator after "Imposta i campi a lunghezza fissa" changed: ";"
// becomes "|" when it is checked and back when it is unchecked; any other
// separator stays.
QString separatorForFixedLength(const QString& separator, bool fixedLength);
// A directory with its final backslash.
QString withFinalBackslash(const QString& directory);

// The settings' keys.
inline const QString kStampaMemoEstesi = QStringLiteral("StampaMemoEstesi");
inline const QString kDirectoryTemporanea = QStringLiteral("Directory tabelle temporanee");
inline const QString kDirectoryBin = QStringLiteral("Directory bin");
inline const QString kDirectoryExport = QStringLiteral("Directory export Query");
inline const QString kProgrammaExcel = QStringLiteral("Programma riferimento Excel");
inline const QString kExcelPreimpostato = QStringLiteral("Excel Preimpostato");

// Where the settings live: the designer's environment, or without one the
// global settings file in the company's section.
struct SettingsStore {
  std::function<QString(const QString& key)> read;
  std::function<void(const QString& key, const QString& value)> write;
};

// "Directory export Query", else the temporary directory ("Directory
// tabelle temporanee", else "Directory bin").
QString exportDirectory(const SettingsStore& store);

// What the settings window hands back for an export.
struct ExportChoice {
  ExportType type = ExportType::Testo;
  QString directory;  // stored form, with its final backslash (text and Excel)
  QString name;       // file name, or the table name for a database table
  QString separator = QStringLiteral(";");
  bool fixedLength = false;
  bool memoInFull = false;
  bool rtfPlain = false;
  bool noHeaders = false;
  QString templateWorkbook;  // "Excel Preimpostato"
  // Directory and name: the file written.
  QString target() const { return directory + name; }
};

}  // namespace query::output
