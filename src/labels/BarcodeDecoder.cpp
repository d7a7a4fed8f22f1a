#include "labels/BarcodeDecoder.h"

#include "core/SqlText.h"
#include "db/Query.h"

namespace labels {

DecodedArticle decodeBarcode(db::Database& database, db::Transaction& transaction,
                             const QString& barcode) {
  DecodedArticle article;
  if (barcode.isEmpty()) return article;

  db::Query query(database, transaction);
  query.sql << QStringLiteral(
                   "SELECT CODICEARTICOLO,ESTENSIONECODICEART FROM MOVMAG WHERE NUMEROSERIALE='") +
                   core::sqlValue(barcode) + '\'';
  query.open();
  if (query.isEmpty()) {
    article.outcome = DecodedArticle::Outcome::NeverMoved;
    return article;
  }
  article.codice = query.text(QStringLiteral("CODICEARTICOLO"));
  article.taglia = query.text(QStringLiteral("ESTENSIONECODICEART"));
  query.close();

  query.sql = QStringList{
      QStringLiteral("SELECT C3.DESCRIZIONE AS MODELLO,C3.DESCRIZIONE1 AS DESC1, C4.DESCRIZIONE AS "
                     "VARIANTE,C4.DESCRIZIONE1 AS DESC2 FROM ANAMAG A"),
      QStringLiteral("LEFT JOIN CLASSIFICAZIONE3 C3 ON A.CLASSIFICAZIONE3=C3.CODICE"),
      QStringLiteral("LEFT JOIN CLASSIFICAZIONE4 C4 ON A.CLASSIFICAZIONE4=C4.CODICE"),
      QStringLiteral("WHERE A.CODICE='") + core::sqlValue(article.codice) +
          QStringLiteral("' AND ESTENSIONE=") + core::sqlString(article.taglia)};
  query.open();
  if (query.isEmpty()) {
    article.outcome = DecodedArticle::Outcome::NotInMasterData;
    return article;
  }
  article.outcome = DecodedArticle::Outcome::Decoded;
  article.modello = query.text(QStringLiteral("MODELLO"));
  article.variante = query.text(QStringLiteral("VARIANTE"));
  article.descrizione = query.text(QStringLiteral("DESC1")) + QStringLiteral(" - ") +
                        query.text(QStringLiteral("DESC2"));
  return article;
}

}  // namespace labels
