#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <functional>

#include "platform/localstore/LocalColumn.h"

struct sqlite3;
struct sqlite3_stmt;

namespace platform::localstore {

// A local work table: one file DIR\NAME.DB holding the rows, their column
// descriptions and the fields that order them. The directory and name keep
// their stored (Windows) form; the file is reached through core::nativePath.
//
// Use by several processes (or several table objects) is arbitrated by a
// lock on a companion file NAME.DB-lock: a shared opening excludes exclusive
// ones, an exclusive opening excludes every other. Opening never waits: a
// table held elsewhere fails to open at once.
//
// Every operation returns false on failure and leaves the reason in
// lastError().
class LocalTable {
 public:
  enum class Access { Shared, Exclusive };

  LocalTable(QString directory, QString name);
  ~LocalTable();
  LocalTable(const LocalTable&) = delete;
  LocalTable& operator=(const LocalTable&) = delete;

  const QString& directory() const { return directory_; }
  const QString& name() const { return name_; }
  // Points the object at another file of the same directory (closing it).
  void setName(const QString& name);
  // Directory, a backslash when the directory has none at its end, name.
  QString path() const;
  QString nativeFilePath() const;
  bool exists() const;

  // The definitions create() uses; after open() the table's own.
  void setColumns(const LocalColumns& columns) { columns_ = columns; }
  const LocalColumns& columns() const { return columns_; }
  // Fields whose values order a walk (then the order of appending).
  void setIndexFields(const QStringList& fields) { indexFields_ = fields; }
  const QStringList& indexFields() const { return indexFields_; }

  // Creates the table from the definitions, replacing an existing one
  // that nobody holds. The table stays closed.
  bool create();
  // Creates the table from the definitions only when no file of its name
  // exists, and leaves it open exclusively: of several processes creating
  // one name at once, exactly one succeeds. The others fail with
  // nameTaken() true (the file exists, or another holds the name).
  bool createNew();
  // Whether the last creation or opening failed because the name is taken.
  bool nameTaken() const { return taken_; }
  bool open(Access access = Access::Shared);
  void close();
  bool isOpen() const { return db_ != nullptr; }
  bool isExclusive() const { return isOpen() && access_ == Access::Exclusive; }
  // Turns an exclusive opening into a shared one without letting the table
  // go: others may then read it, nobody may take it.
  bool share();
  // Removes every row: the table must be open exclusively here, or held
  // by nobody.
  bool empty();
  // Deletes the table's file and its lock file: the table must be held by
  // nobody else (this object may hold it).
  bool remove();

  // Many appends and updates inside one batch are written at once.
  bool beginBatch();
  bool commitBatch();
  // Appends a row; missing trailing values are empty.
  bool append(const QVariantList& values);
  // Sets one column of the row `rowId` (as given by walk()).
  bool setValue(qint64 rowId, int column, const QVariant& value);
  // Visits the rows in index order; `visit` returns false to stop.
  bool walk(const std::function<bool(qint64 rowId, const QVariantList& values)>& visit);
  qint64 rowCount();

  const QString& lastError() const { return error_; }

 private:
  bool fail(const QString& message);
  bool failSqlite(const QString& what);
  bool lock(Access access);
  void unlock();
  // Writes the schema into the new file and leaves it open; on failure the
  // file is removed.
  bool define();
  void closeDatabase();
  bool execute(const QString& statement);
  sqlite3_stmt* cachedStatement(qsizetype slot, const QString& text);
  void finalizeStatements();

  QString directory_;
  QString name_;
  LocalColumns columns_;
  QStringList indexFields_;
  sqlite3* db_ = nullptr;
  // Prepared statements kept while open: slot 0 appends, slot 1 + n sets
  // column n.
  QList<sqlite3_stmt*> statements_;
  int lockFd_ = -1;
  Access access_ = Access::Shared;
  bool taken_ = false;
  QString error_;
};

// Reads every row of a table in index order without holding it: what the
// report engines use to draw a table a window has filled and closed.
bool readLocalTable(const QString& directory, const QString& name, LocalColumns* columns,
                    QList<QVariantList>* rows, QString* error);

}  // namespace platform::localstore
