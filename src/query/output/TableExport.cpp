#include "query/output/TableExport.h"

#include <stdexcept>

#include "core/SqlText.h"
#include "core/TextFile.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "db/WorkTables.h"

namespace query::output {

namespace {

QString typeDefinition(const db::FieldInfo& field) {
  switch (field.type) {
    case db::FieldType::String:
    case db::FieldType::FixedChar:
    case db::FieldType::WideString:
      return QStringLiteral("VARCHAR(%1)").arg(std::max(field.size, 1));
    case db::FieldType::Bytes:
    case db::FieldType::VarBytes:
      return QStringLiteral("VARCHAR(%1) CHARACTER SET OCTETS").arg(std::max(field.size, 1));
    case db::FieldType::SmallInt:
      return QStringLiteral("SMALLINT");
    case db::FieldType::Integer:
    case db::FieldType::Word:
    case db::FieldType::AutoInc:
      return QStringLiteral("INTEGER");
    case db::FieldType::LargeInt:
      return QStringLiteral("BIGINT");
    case db::FieldType::Bcd:
    case db::FieldType::Currency:
      return QStringLiteral("NUMERIC(18,%1)").arg(field.scale);
    case db::FieldType::Float:
      return QStringLiteral("DOUBLE PRECISION");
    case db::FieldType::Date:
      return QStringLiteral("DATE");
    case db::FieldType::Time:
      return QStringLiteral("TIME");
    case db::FieldType::DateTime:
      return QStringLiteral("TIMESTAMP");
    case db::FieldType::Boolean:
      return QStringLiteral("BOOLEAN");
    case db::FieldType::Memo:
    case db::FieldType::FmtMemo:
      return QStringLiteral("BLOB SUB_TYPE 1");
    case db::FieldType::Blob:
    case db::FieldType::Graphic:
      return QStringLiteral("BLOB");
    default:
      throw std::invalid_argument("type");
  }
}

const QString kTableExportFailure = QStringLiteral("E' avvenuto un errore durante l'esportazione");

// Fills the new table and takes away its work-table mark in one
// transaction: the rows and the end of the mark become permanent together.
void fill(db::Database& database, const QStringList& insert, const QString& name) {
  db::Transaction transaction(database);
  {
    db::Query query(database, transaction);
    query.sql = insert;
    query.execSql();
  }
  db::worktables::unmark(transaction, name);
  transaction.commit();
}

}  // namespace

QString columnDefinition(const db::FieldInfo& field) {
  try {
    return core::sqlIdentifier(field.name) + ' ' + typeDefinition(field);
  } catch (const std::invalid_argument&) {
    throw std::invalid_argument(
        QStringLiteral("Il campo \"%1\" non può diventare una colonna della tabella")
            .arg(field.name)
            .toStdString());
  }
}

ExportOutcome exportToTable(db::Database& database, const std::vector<db::FieldInfo>& fields,
                            const QStringList& answerSql, const QString& tableName,
                            const QString& binDirectory) {
  ExportOutcome outcome;
  QString name;
  QStringList create;
  try {
    name = core::sqlIdentifier(tableName.trimmed().toUpper());
    QStringList columns;
    for (const db::FieldInfo& field : fields) columns << columnDefinition(field);
    create << QStringLiteral("CREATE TABLE ") + name + QStringLiteral(" (")
           << columns.join(QStringLiteral(",\n")) << QStringLiteral(")");
  } catch (const std::invalid_argument& error) {
    const QString reason = name.isEmpty()
                               ? QStringLiteral("Nome tabella non valido: \"%1\"").arg(tableName)
                               : QString::fromStdString(error.what());
    outcome.messages << core::error(kTableExportFailure + QStringLiteral("\r\r") + reason);
    return outcome;
  }
  try {
    // A table of this name that an interrupted export left behind (still
    // marked with an attachment that is gone) is replaced.
    if (db::worktables::isLeftover(database, name)) db::worktables::drop(database, name);
    // Marked as this attachment's work table until it is filled, so that an
    // export interrupted in between leaves a table known as a leftover.
    db::worktables::create(database, name, create);
  } catch (const db::DbError& error) {
    // Nothing was created: a table of that name that was already there stays.
    outcome.messages << core::error(kTableExportFailure + QStringLiteral("\r\r") + error.text());
    outcome.fallback = true;
    return outcome;
  }
  QStringList insert{QStringLiteral("INSERT INTO ") + name + ' '};
  insert << answerSql;
  try {
    fill(database, insert, name);
  } catch (const db::DbError& error) {
    const QString saved = binDirectory + kTableExportErrorFile;
    QString text = kTableExportFailure + QStringLiteral("\r\r") + error.text();
    if (!core::writeTextLines(saved, insert))
      text += QStringLiteral("\r\rImpossibile salvare il file ") + saved;
    else
      text += QStringLiteral("\r\rIstruzione salvata in ") + saved;
    try {
      db::worktables::drop(database, name);
    } catch (const db::DbError& dropError) {
      text += QStringLiteral("\r\rLa tabella ") + name +
              QStringLiteral(" creata per l'esportazione è rimasta: ") + dropError.text();
    }
    outcome.messages << core::error(text);
    return outcome;
  }
  outcome.done = true;
  return outcome;
}

}  // namespace query::output
