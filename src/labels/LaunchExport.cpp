#include "labels/LaunchExport.h"

#include <QFileInfo>

#include "core/Dates.h"
#include "core/OutputFile.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/TextCursor.h"

namespace labels {

QStringList launchListStatement(bool hideExported, bool hideWithoutOrder) {
  QStringList lines{QStringLiteral("SELECT B.ID,B.DATA,B.ESPORTATO,B.DATAEXPORT"),
                    QStringLiteral("FROM ETICHETTE A LEFT JOIN LANCISTAMPA B ON"),
                    QStringLiteral("(A.IDLANCIOSTAMPA=B.ID)"),
                    QStringLiteral("WHERE (B.ID IS NOT NULL)")};
  if (hideExported) lines << QStringLiteral("AND((B.ESPORTATO='0')OR(B.ESPORTATO IS NULL))");
  if (hideWithoutOrder) lines << QStringLiteral("AND(A.ORDINE IS NOT NULL)");
  lines << QStringLiteral("GROUP BY B.ID,B.DATA,B.ESPORTATO,B.DATAEXPORT");
  return lines;
}

QString csvFileName(const QString& chosen) {
  const QFileInfo info(chosen);
  const QString name = info.fileName();
  const int dot = name.lastIndexOf('.');
  const QString base = dot > 0 ? name.left(dot) : name;
  const QString dir = chosen.left(chosen.size() - name.size());
  return dir + base + QStringLiteral(".CSV");
}

int writeLaunchCsv(db::Database& database, db::Transaction& transaction, qint64 launchId,
                   const QString& nativeFile, const ExportProgress& progress, EmptyLaunch empty) {
  if (!database.isConnected()) throw db::DbError(QStringLiteral("Database non connesso"));
  core::OutputFile file(nativeFile);
  if (!file.open())
    throw ExportFileError(QStringLiteral("Impossibile creare il file %1: %2")
                              .arg(nativeFile, file.error())
                              .toStdString());
  const auto writeFailed = [&] {
    return ExportFileError(QStringLiteral("Impossibile scrivere il file %1: %2")
                               .arg(nativeFile, file.error())
                               .toStdString());
  };

  // Each value formatted straight from the fetched row into the line's bytes.
  db::TextCursor cursor(
      transaction, {QStringLiteral("SELECT * FROM ETICHETTE"),
                    QStringLiteral("WHERE (IDLANCIOSTAMPA='") + QString::number(launchId) + "')"});
  int lines = 0;
  QByteArray line;
  while (cursor.next()) {
    line.clear();
    for (int column = 0; column < cursor.fieldCount(); ++column) {
      cursor.appendText(column, db::TextForm::Plain, line);
      line += ';';
    }
    line += "\r\n";
    if (!file.write(line)) throw writeFailed();
    ++lines;
    if (progress && lines % 1000 == 0) progress(lines);
  }
  if (lines == 0 && empty == EmptyLaunch::WriteNothing) return 0;
  if (!file.commit()) throw writeFailed();
  return lines;
}

QStringList markExportedStatement(qint64 launchId, const QDate& date) {
  return {QStringLiteral("UPDATE LANCISTAMPA SET"), QStringLiteral("ESPORTATO='1',"),
          QStringLiteral("DATAEXPORT='") + core::sqlDate(date) + '\'',
          QStringLiteral("WHERE (ID='") + QString::number(launchId) + "')"};
}

}  // namespace labels
