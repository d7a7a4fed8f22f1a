#include "labels/ImportaEtichette.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <optional>

#include "core/Cp1252.h"
#include "core/Dates.h"
#include "core/Paths.h"
#include "core/SqlText.h"
#include "core/TextFile.h"
#include "db/PreparedStatement.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "labels/LabelFile.h"
#include "labels/LabelLine.h"
#include "ui/Prompter.h"

namespace labels {

namespace {

using Outcome = ImportResult::Outcome;

class Import {
 public:
  Import(db::Query& query, const QString& binDir, const QString& file, ImportProgress* progress)
      : query_(query), binDir_(binDir), file_(file), progress_(progress) {}

  ImportResult run() {
    if (!newIdentifier() || !insertAcquisizione()) return undo(Outcome::Failed);
    std::optional<QByteArray> bytes = readFile();
    if (!bytes) {
      ui::error(QStringLiteral("Impossibile leggere il file \"") + file_ +
                QStringLiteral("\": nessuna etichetta importata"));
      return undo(Outcome::Failed);
    }
    const Outcome outcome = insertLabels(LabelFile(std::move(*bytes)));
    if (outcome != Outcome::Imported) return undo(outcome);
    return commit();
  }

 private:
  // The import's identifier from its generator, held as text.
  bool newIdentifier() {
    query_.close();
    query_.sql =
        QStringList{QStringLiteral("SELECT GEN_ID(IDACQUISIZIONICOUNTER,1) FROM RDB$DATABASE")};
    return runStatement([this] {
      query_.open();
      id_ = query_.text(query_.field(0).name);
      query_.close();
    });
  }

  // The import row; the file name keeps its stored form.
  bool insertAcquisizione() {
    const QString name = core::storedPath(QFileInfo(file_).absoluteFilePath());
    query_.sql =
        QStringList{QStringLiteral("INSERT INTO ACQUISIZIONI (ID,DATA,NOMEFILE) VALUES("),
                    core::sqlString(id_) + ',', core::sqlDateLiteral(QDate::currentDate()) + ',',
                    core::sqlString(core::apostrophesToAcute(name)) + ')'};
    return runStatement([this] { query_.execSql(); });
  }

  std::optional<QByteArray> readFile() const {
    QFile file(file_);
    if (!QFileInfo(file_).isFile() || !file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes;
  }

  // The labels. One statement, prepared once, runs every line with the line's
  // values bound to it; the text form of a line's statement is built only
  // when it fails, for the error file.
  Outcome insertLabels(LabelFile lines) {
    const int total = lines.lineCount();
    if (progress_ && !progress_->advance(0, total)) return Outcome::Cancelled;
    std::optional<db::PreparedStatement> insert;
    QString text;
    int number = 0;
    while (lines.next(text)) {
      ++number;
      const LabelLine line = parseLabelLine(text);
      try {
        if (!insert) insert.emplace(query_.transaction(), insertStatementWithMarkers());
        insert->execute(insertValues(id_, line));
      } catch (const db::DbError& error) {
        failedLine_ = number;
        failureReason_ = error.text();
        findFieldTooLong(line);
        reportFailedStatement(insertStatementLines(id_, line));
        return Outcome::Failed;
      }
      ++labels_;
      if (progress_ && !progress_->advance(labels_, total)) return Outcome::Cancelled;
    }
    return Outcome::Imported;
  }

  ImportResult commit() {
    try {
      query_.transaction().commit();
    } catch (const db::DbError& error) {
      ui::error(QStringLiteral("Impossibile confermare l'importazione, nessuna etichetta "
                               "importata: ") +
                error.text());
      return undo(Outcome::Failed);
    }
    ui::information(QStringLiteral("Etichette importate"));
    ImportResult result;
    result.outcome = Outcome::Imported;
    result.labels = labels_;
    result.idAcquisizione = id_;
    return result;
  }

  ImportResult undo(Outcome outcome) {
    try {
      query_.transaction().rollbackAndRestart();
    } catch (const db::DbError&) {
      // A broken connection has already dropped the work.
    }
    if (outcome == Outcome::Cancelled)
      ui::information(QStringLiteral("Importazione annullata: nessuna etichetta importata"));
    ImportResult result;
    result.outcome = outcome;
    result.failedStatementFile = failedStatementFile_;
    result.failedLine = failedLine_;
    result.failedField = failedField_;
    result.failedColumn = failedColumn_;
    result.failureReason = failureReason_;
    return result;
  }

  // The first value of the line longer than its column, by the lengths the
  // database declares (a value too long is what makes a line fail).
  void findFieldTooLong(const LabelLine& line) {
    try {
      db::Query lengths(query_.database(), query_.transaction());
      lengths.sql << QStringLiteral("SELECT TRIM(RF.RDB$FIELD_NAME),F.RDB$CHARACTER_LENGTH")
                  << QStringLiteral("FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F")
                  << QStringLiteral("ON F.RDB$FIELD_NAME=RF.RDB$FIELD_SOURCE")
                  << QStringLiteral("WHERE RF.RDB$RELATION_NAME='ETICHETTE'");
      QHash<QString, int> length;
      for (lengths.open(); !lengths.isEof(); lengths.next())
        length.insert(lengths.text(lengths.field(0).name).trimmed(),
                      lengths.text(lengths.field(1).name).toInt());
      for (const LineValue& value : lineValues(line)) {
        const int room = length.value(value.column, -1);
        if (room > 0 && value.text.size() > room) {
          failedField_ = value.field;
          failedColumn_ = value.column;
          return;
        }
      }
    } catch (const db::DbError&) {
      // The reason alone names the failure.
    }
  }

  // Runs the statement in query_.sql; on failure saves it and tells the user.
  template <typename F>
  bool runStatement(F&& run) {
    try {
      run();
      return true;
    } catch (const db::DbError& error) {
      failureReason_ = error.text();
      reportFailedStatement(query_.sql);
      return false;
    }
  }

  void reportFailedStatement(const QStringList& lines) {
    const QString errorFile = binDir_ + QLatin1String(kImportErrorFile);
    if (core::writeTextLines(errorFile, lines)) failedStatementFile_ = errorFile;
    ui::error(QStringLiteral("Errore interno di INSERT: controllare il file: \"") + errorFile +
              '"');
  }

  db::Query& query_;
  const QString binDir_;
  const QString file_;
  ImportProgress* progress_;
  QString id_;
  int labels_ = 0;
  QString failedStatementFile_;
  int failedLine_ = 0;
  int failedField_ = 0;
  QString failedColumn_;
  QString failureReason_;
};

}  // namespace

ImportResult ImportaEtichette(db::Query& queryAux, const QString& binDir, const QString& file,
                              ImportProgress* progress) {
  return Import(queryAux, binDir, file, progress).run();
}

}  // namespace labels
