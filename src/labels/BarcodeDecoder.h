#pragma once

#include <QString>

namespace db {
class Database;
class Transaction;
}  // namespace db

// Decoding a serial-number barcode into the article it belongs to: the
// warehouse movement that carried it gives code and size, the article
// master data model, variant and description.
namespace labels {

struct DecodedArticle {
  enum class Outcome { EmptyBarcode, NeverMoved, NotInMasterData, Decoded };
  Outcome outcome = Outcome::EmptyBarcode;
  QString codice;
  QString taglia;
  QString modello;
  QString variante;
  QString descrizione;  // the two descriptions joined by " - "
};

// The barcode is compared exactly as typed. Throws db::DbError when a
// statement fails.
DecodedArticle decodeBarcode(db::Database& database, db::Transaction& transaction,
                             const QString& barcode);

}  // namespace labels
