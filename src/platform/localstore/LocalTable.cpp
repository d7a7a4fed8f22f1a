#include "platform/localstore/LocalTable.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QTime>
#include <cerrno>
#include <cmath>
#include <limits>

#include "core/Paths.h"
#include "platform/localstore/LocalValues.h"

namespace platform::localstore {

namespace {

// The rows live in table "righe"; "colonne" describes the columns in order
// and "indice" lists the fields that order a walk.
constexpr const char* kSchema =
    "CREATE TABLE colonne (posizione INTEGER PRIMARY KEY, nome TEXT NOT NULL,"
    " tipo TEXT NOT NULL, dimensione INTEGER NOT NULL, richiesto INTEGER NOT NULL);"
    "CREATE TABLE indice (posizione INTEGER PRIMARY KEY, nome TEXT NOT NULL);";

QString quotedName(const QString& name) {
  QString quoted = name;
  quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString storageType(ColumnType type) {
  switch (type) {
    case ColumnType::SmallInt:
    case ColumnType::Integer:
    case ColumnType::BigInt:
    case ColumnType::Boolean:
      return QStringLiteral("INTEGER");
    case ColumnType::Float:
    case ColumnType::Bcd:
      return QStringLiteral("REAL");
    case ColumnType::Blob:
      return QStringLiteral("BLOB");
    default:
      return QStringLiteral("TEXT");
  }
}

// A prepared statement finalised on every path.
class Statement {
 public:
  Statement(sqlite3* db, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &statement_, nullptr) !=
        SQLITE_OK)
      statement_ = nullptr;
  }
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* get() const { return statement_; }
  explicit operator bool() const { return statement_ != nullptr; }

 private:
  sqlite3_stmt* statement_ = nullptr;
};

QString sqliteMessage(sqlite3* db) {
  return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("memoria insufficiente");
}

bool readColumns(sqlite3* db, LocalColumns* columns, QStringList* indexFields, QString* error) {
  columns->clear();
  indexFields->clear();
  Statement described(
      db,
      QStringLiteral("SELECT nome, tipo, dimensione, richiesto FROM colonne ORDER BY posizione"));
  Statement indexed(db, QStringLiteral("SELECT nome FROM indice ORDER BY posizione"));
  if (!described || !indexed) {
    *error = QStringLiteral("il file non è una tabella locale: ") + sqliteMessage(db);
    return false;
  }
  while (sqlite3_step(described.get()) == SQLITE_ROW) {
    LocalColumn column;
    column.name =
        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(described.get(), 0)));
    column.type = columnTypeFromName(
        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(described.get(), 1))));
    column.size = sqlite3_column_int(described.get(), 2);
    column.required = sqlite3_column_int(described.get(), 3) != 0;
    columns->append(column);
  }
  while (sqlite3_step(indexed.get()) == SQLITE_ROW)
    indexFields->append(
        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(indexed.get(), 0))));
  return true;
}

QString walkStatement(const QStringList& indexFields) {
  QString order;
  for (const QString& field : indexFields) order += quotedName(field) + QLatin1Char(',');
  return QStringLiteral("SELECT rowid, * FROM righe ORDER BY ") + order + QStringLiteral("rowid");
}

bool stepRows(sqlite3* db, const LocalColumns& columns, const QStringList& indexFields,
              const std::function<bool(qint64, const QVariantList&)>& visit, QString* error) {
  Statement rows(db, walkStatement(indexFields));
  if (!rows) {
    *error = sqliteMessage(db);
    return false;
  }
  int step;
  while ((step = sqlite3_step(rows.get())) == SQLITE_ROW) {
    QVariantList values;
    values.reserve(columns.size());
    for (qsizetype i = 0; i < columns.size(); ++i)
      values.append(columnValue(rows.get(), int(i) + 1, columns[i].type));
    if (!visit(sqlite3_column_int64(rows.get(), 0), values)) return true;
  }
  if (step != SQLITE_DONE) {
    *error = sqliteMessage(db);
    return false;
  }
  return true;
}

}  // namespace

LocalTable::LocalTable(QString directory, QString name)
    : directory_(std::move(directory)), name_(std::move(name)) {}

LocalTable::~LocalTable() {
  close();
}

void LocalTable::setName(const QString& name) {
  close();
  name_ = name;
}

QString LocalTable::path() const {
  if (directory_.isEmpty() || directory_.endsWith(QLatin1Char('\\'))) return directory_ + name_;
  return directory_ + QLatin1Char('\\') + name_;
}

QString LocalTable::nativeFilePath() const {
  return core::nativePath(path());
}

bool LocalTable::exists() const {
  return QFile::exists(nativeFilePath());
}

bool LocalTable::fail(const QString& message) {
  error_ = path() + QStringLiteral(": ") + message;
  return false;
}

bool LocalTable::failSqlite(const QString& what) {
  return fail(what + QStringLiteral(": ") + sqliteMessage(db_));
}

bool LocalTable::lock(Access access) {
  if (lockFd_ >= 0) return true;
  taken_ = false;
  const QByteArray lockPath = QFile::encodeName(nativeFilePath() + QStringLiteral("-lock"));
  // A lock file is deleted only by the holder of its exclusive lock. Whoever
  // opened it just before then gets its lock on a file that no longer has the
  // name, so the lock counts only when the name still leads to the file
  // locked; otherwise the name's new file is locked instead.
  for (int attempt = 0; attempt < 100; ++attempt) {
    lockFd_ = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (lockFd_ < 0) return fail(QStringLiteral("impossibile aprire il file di blocco"));
    if (::flock(lockFd_, (access == Access::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
      unlock();
      taken_ = true;
      return fail(QStringLiteral("la tabella è in uso da un altro utente"));
    }
    struct stat locked = {};
    struct stat named = {};
    if (::fstat(lockFd_, &locked) == 0 && ::stat(lockPath.constData(), &named) == 0 &&
        locked.st_dev == named.st_dev && locked.st_ino == named.st_ino)
      return true;
    unlock();
  }
  return fail(QStringLiteral("impossibile bloccare la tabella"));
}

void LocalTable::unlock() {
  if (lockFd_ < 0) return;
  ::close(lockFd_);
  lockFd_ = -1;
}

bool LocalTable::execute(const QString& statement) {
  char* message = nullptr;
  if (sqlite3_exec(db_, statement.toUtf8().constData(), nullptr, nullptr, &message) == SQLITE_OK)
    return true;
  const QString text = message ? QString::fromUtf8(message) : sqliteMessage(db_);
  sqlite3_free(message);
  return fail(text);
}

bool LocalTable::create() {
  close();
  if (columns_.isEmpty()) return fail(QStringLiteral("nessuna colonna definita"));
  if (!lock(Access::Exclusive)) return false;
  const QString file = nativeFilePath();
  if (QFile::exists(file) && !QFile::remove(file)) {
    unlock();
    return fail(QStringLiteral("impossibile sostituire la tabella esistente"));
  }
  const bool created = define();
  close();
  return created;
}

bool LocalTable::createNew() {
  close();
  if (columns_.isEmpty()) return fail(QStringLiteral("nessuna colonna definita"));
  if (!lock(Access::Exclusive)) return false;
  // The file itself is made only when absent: of two processes that got here
  // for one name, one after the other, only the first makes it.
  const int fd = ::open(QFile::encodeName(nativeFilePath()).constData(),
                        O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    const int error = errno;
    unlock();
    taken_ = error == EEXIST;
    return fail(taken_
                    ? QStringLiteral("la tabella esiste già")
                    : QStringLiteral("impossibile creare la tabella: ") + qt_error_string(error));
  }
  ::close(fd);
  if (!define()) {
    close();
    return false;
  }
  access_ = Access::Exclusive;
  return true;
}

bool LocalTable::define() {
  const QString file = nativeFilePath();
  if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db_,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
    failSqlite(QStringLiteral("impossibile creare la tabella"));
    closeDatabase();
    QFile::remove(file);
    return false;
  }
  QString rowsTable = QStringLiteral("CREATE TABLE righe (");
  QString descriptions;
  for (qsizetype i = 0; i < columns_.size(); ++i) {
    const LocalColumn& column = columns_[i];
    if (i) rowsTable += QLatin1Char(',');
    rowsTable += quotedName(column.name) + QLatin1Char(' ') + storageType(column.type);
    descriptions += QStringLiteral("INSERT INTO colonne VALUES (%1,'%2','%3',%4,%5);")
                        .arg(i)
                        .arg(QString(column.name).replace(QLatin1Char('\''), QLatin1String("''")),
                             columnTypeName(column.type))
                        .arg(column.size)
                        .arg(column.required ? 1 : 0);
  }
  rowsTable += QStringLiteral(");");
  for (qsizetype i = 0; i < indexFields_.size(); ++i)
    descriptions +=
        QStringLiteral("INSERT INTO indice VALUES (%1,'%2');")
            .arg(i)
            .arg(QString(indexFields_[i]).replace(QLatin1Char('\''), QLatin1String("''")));
  const QString definition = QStringLiteral("BEGIN;") + QString::fromLatin1(kSchema) + rowsTable +
                             descriptions + QStringLiteral("COMMIT;");
  if (execute(definition)) return true;
  closeDatabase();
  QFile::remove(file);
  return false;
}

bool LocalTable::open(Access access) {
  close();
  if (!exists()) return fail(QStringLiteral("la tabella non esiste"));
  if (!lock(access)) return false;
  if (sqlite3_open_v2(QFile::encodeName(nativeFilePath()).constData(), &db_, SQLITE_OPEN_READWRITE,
                      nullptr) != SQLITE_OK) {
    failSqlite(QStringLiteral("impossibile aprire la tabella"));
    close();
    return false;
  }
  QString message;
  if (!readColumns(db_, &columns_, &indexFields_, &message)) {
    fail(message);
    close();
    return false;
  }
  access_ = access;
  return true;
}

void LocalTable::closeDatabase() {
  finalizeStatements();
  if (db_) {
    // A batch left open is not written: a half-filled table is never kept.
    if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db_);
    db_ = nullptr;
  }
}

void LocalTable::close() {
  closeDatabase();
  unlock();
}

bool LocalTable::share() {
  if (!isOpen()) return fail(QStringLiteral("la tabella non è aperta"));
  // Changing the kind of an own flock lock lets no other process in between
  // on Linux: the table stays held throughout.
  if (access_ == Access::Exclusive && ::flock(lockFd_, LOCK_SH | LOCK_NB) != 0)
    return fail(QStringLiteral("impossibile condividere la tabella"));
  access_ = Access::Shared;
  return true;
}

bool LocalTable::empty() {
  if (isOpen()) {
    if (!isExclusive()) return fail(QStringLiteral("la tabella non è aperta in modo esclusivo"));
    return execute(QStringLiteral("DELETE FROM righe"));
  }
  if (!open(Access::Exclusive)) return false;
  const bool emptied = execute(QStringLiteral("DELETE FROM righe"));
  close();
  return emptied;
}

bool LocalTable::remove() {
  closeDatabase();
  if (!exists()) {
    unlock();
    return fail(QStringLiteral("la tabella non esiste"));
  }
  if (lockFd_ < 0) {
    if (!lock(Access::Exclusive)) return false;
  } else if (access_ != Access::Exclusive && ::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
    unlock();
    return fail(QStringLiteral("la tabella è in uso da un altro utente"));
  }
  const bool removed = QFile::remove(nativeFilePath());
  // The lock file goes while its lock is still held: see lock().
  ::unlink(QFile::encodeName(nativeFilePath() + QStringLiteral("-lock")).constData());
  unlock();
  return removed || fail(QStringLiteral("impossibile cancellare la tabella"));
}

bool LocalTable::beginBatch() {
  if (!isOpen()) return fail(QStringLiteral("la tabella non è aperta"));
  return execute(QStringLiteral("BEGIN"));
}

bool LocalTable::commitBatch() {
  if (!isOpen()) return fail(QStringLiteral("la tabella non è aperta"));
  return execute(QStringLiteral("COMMIT"));
}

sqlite3_stmt* LocalTable::cachedStatement(qsizetype slot, const QString& text) {
  if (statements_.size() <= slot) statements_.resize(slot + 1, nullptr);
  if (!statements_[slot]) {
    const QByteArray utf8 = text.toUtf8();
    if (sqlite3_prepare_v2(db_, utf8.constData(), int(utf8.size()), &statements_[slot], nullptr) !=
        SQLITE_OK)
      statements_[slot] = nullptr;
  }
  if (statements_[slot]) {
    sqlite3_reset(statements_[slot]);
    sqlite3_clear_bindings(statements_[slot]);
  }
  return statements_[slot];
}

void LocalTable::finalizeStatements() {
  for (sqlite3_stmt* statement : statements_) sqlite3_finalize(statement);
  statements_.clear();
}

bool LocalTable::append(const QVariantList& values) {
  if (!isOpen()) return fail(QStringLiteral("la tabella non è aperta"));
  if (values.size() > columns_.size()) return fail(QStringLiteral("troppi valori per la riga"));
  sqlite3_stmt* insert = statements_.isEmpty() ? nullptr : statements_[0];
  if (insert) {
    sqlite3_reset(insert);
  } else {
    QString placeholders;
    for (qsizetype i = 0; i < columns_.size(); ++i)
      placeholders += i ? QStringLiteral(",?") : QStringLiteral("?");
    insert = cachedStatement(
        0, QStringLiteral("INSERT INTO righe VALUES (") + placeholders + QLatin1Char(')'));
  }
  if (!insert) return failSqlite(QStringLiteral("inserimento"));
  static const QVariant missing;
  for (qsizetype i = 0; i < columns_.size(); ++i) {
    // A reference: text is bound where the row holds it (see bindValue).
    const QVariant& value = i < values.size() ? values[i] : missing;
    if (columns_[i].required && (value.isNull() || !value.isValid()))
      return fail(QStringLiteral("il campo %1 è richiesto").arg(columns_[i].name));
    if (bindValue(insert, int(i) + 1, columns_[i].type, value) != SQLITE_OK)
      return failSqlite(QStringLiteral("inserimento"));
  }
  if (sqlite3_step(insert) != SQLITE_DONE) return failSqlite(QStringLiteral("inserimento"));
  return true;
}

bool LocalTable::setValue(qint64 rowId, int column, const QVariant& value) {
  if (!isOpen()) return fail(QStringLiteral("la tabella non è aperta"));
  if (column < 0 || column >= columns_.size()) return fail(QStringLiteral("colonna inesistente"));
  sqlite3_stmt* update = cachedStatement(1 + column, QStringLiteral("UPDATE righe SET ") +
                                                         quotedName(columns_[column].name) +
                                                         QStringLiteral(" = ? WHERE rowid = ?"));
  if (!update) return failSqlite(QStringLiteral("aggiornamento"));
  if (bindValue(update, 1, columns_[column].type, value) != SQLITE_OK ||
      sqlite3_bind_int64(update, 2, rowId) != SQLITE_OK || sqlite3_step(update) != SQLITE_DONE)
    return failSqlite(QStringLiteral("aggiornamento"));
  return true;
}

bool LocalTable::walk(const std::function<bool(qint64, const QVariantList&)>& visit) {
  if (!isOpen()) return fail(QStringLiteral("la tabella non è aperta"));
  QString message;
  return stepRows(db_, columns_, indexFields_, visit, &message) || fail(message);
}

qint64 LocalTable::rowCount() {
  if (!isOpen()) return -1;
  Statement count(db_, QStringLiteral("SELECT COUNT(*) FROM righe"));
  if (!count || sqlite3_step(count.get()) != SQLITE_ROW) return -1;
  return sqlite3_column_int64(count.get(), 0);
}

bool readLocalTable(const QString& directory, const QString& name, LocalColumns* columns,
                    QList<QVariantList>* rows, QString* error) {
  LocalTable table(directory, name);
  const QString file = table.nativeFilePath();
  sqlite3* db = nullptr;
  const auto finish = [&](bool ok, const QString& message) {
    if (!ok) *error = table.path() + QStringLiteral(": ") + message;
    sqlite3_close(db);
    return ok;
  };
  if (!QFile::exists(file)) return finish(false, QStringLiteral("la tabella non esiste"));
  if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
      SQLITE_OK)
    return finish(false, sqliteMessage(db));
  QStringList indexFields;
  QString message;
  if (!readColumns(db, columns, &indexFields, &message)) return finish(false, message);
  rows->clear();
  const bool read = stepRows(
      db, *columns, indexFields,
      [&](qint64, const QVariantList& values) {
        rows->append(values);
        return true;
      },
      &message);
  return finish(read, message);
}

}  // namespace platform::localstore
