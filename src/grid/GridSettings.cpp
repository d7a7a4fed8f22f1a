#include "grid/GridSettings.h"

#include "db/Query.h"
#include "db/Transaction.h"
#include "grid/GridTables.h"

namespace grid {

QStringList GridSettings::statement(const QString& table, int utente, int progetto) {
  return {QStringLiteral("SELECT * FROM ") + quotedTable(table),
          QStringLiteral("WHERE (CodiceUtente=%1)").arg(utente),
          QStringLiteral("AND (CodiceProgetto=%1)").arg(progetto)};
}

GridSettings GridSettings::read(db::Database& database, const QString& table, int utente,
                                int progetto) {
  db::Transaction transaction(database);
  db::Query query(database, transaction);
  query.sql = statement(table, utente, progetto);
  query.open();
  GridSettings settings;
  if (!query.isEof()) {
    const auto color = [&query](const char* column, qint64 fallback) {
      const qint64 code = colorFromStored(query.value(QString::fromLatin1(column)).toLongLong());
      return code != 0 ? code : fallback;
    };
    settings.coloreRecordSelez = color("COLORERECORDSELEZ", kColoreDesktop);
    settings.coloreCampiIndic = color("COLORECAMPIINDIC", kGiallo);
    settings.coloreCampoOrd = color("COLORECAMPOORD", kRosso);
    settings.abilitaTimerRic = query.value(QStringLiteral("ABILITATIMERRIC")).toInt() == 1;
    settings.abilitaRicF5Sempre = query.value(QStringLiteral("ABILITARICF5SEMPRE")).toInt() == 1;
  }
  transaction.commit();
  return settings;
}

}  // namespace grid
