#include "DemoData.h"

#include <QDate>
#include <QStringList>
#include <array>

#include "core/Dates.h"
#include "core/SqlText.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace host {

namespace {

// Text of the tables below (UTF-8 source).
QString text(const char* value) {
  return QString::fromUtf8(value);
}

void exec(db::Database& database, db::Transaction& transaction, const QStringList& lines) {
  db::Query query(database, transaction);
  query.sql = lines;
  query.execSql();
}

struct Model {
  const char* code;         // CLASSIFICAZIONE3.CODICE
  const char* name;         // short name shown as the model
  const char* description;  // first line of the label description
  const char* fabric;
  std::array<const char*, 5> sizes;  // empty entries unused
};

struct Variant {
  const char* code;  // CLASSIFICAZIONE4.CODICE
  const char* name;
  const char* description;
};

const Model kModels[] = {
    {"0101",
     "BLAZER",
     "GIACCA BLAZER DUE BOTTONI",
     "100% LANA VERGINE",
     {"46", "48", "50", "52", "54"}},
    {"0205", "CHINO", "PANTALONE CHINO", "98% COTONE 2% ELASTAN", {"44", "46", "48", "50", "52"}},
    {"0310",
     "CAMICIA",
     "CAMICIA OXFORD MANICA LUNGA",
     "100% COTONE",
     {"39", "40", "41", "42", "43"}},
    {"0420", "MAGLIONE", "MAGLIONE GIROCOLLO", "100% LANA MERINO", {"46", "48", "50", "52", ""}},
    {"0530",
     "GILET",
     "GILET ALL\u00B4INGLESE",
     "70% LANA 30% POLIESTERE",
     {"46", "48", "50", "52", ""}},
};

const Variant kVariants[] = {
    {"001", "BLU", "BLU NOTTE"},      {"002", "GRIGIO", "GRIGIO MELANGE"},
    {"003", "BEIGE", "BEIGE SABBIA"}, {"004", "BIANCO", "BIANCO OTTICO"},
    {"005", "NERO", "NERO"},
};

// Articles: a model in one variant; the article code is the two codes joined.
struct Article {
  int model;
  int variant;
};
const Article kArticles[] = {{0, 0}, {0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 4}};

// One article in one size: a row of ANAMAG.
struct Item {
  QString code;
  QString size;
  const Model* model;
  const Variant* variant;
  QString ean;  // empty for articles sold without an EAN code
};

// EAN-13 from its first twelve digits: odd places weigh 1, even places 3.
QString ean13(const QString& twelveDigits) {
  int sum = 0;
  for (int i = 0; i < 12; ++i) sum += twelveDigits.at(i).digitValue() * (i % 2 == 0 ? 1 : 3);
  return twelveDigits + QString::number((10 - sum % 10) % 10);
}

QList<Item> demoItems() {
  QList<Item> items;
  for (const Article& article : kArticles) {
    const Model& model = kModels[article.model];
    const Variant& variant = kVariants[article.variant];
    for (const char* size : model.sizes) {
      if (*size == '\0') continue;
      Item item{text(model.code) + text(variant.code), text(size), &model, &variant, QString()};
      // Shirts are sold without an EAN code.
      if (QLatin1String(model.code) != QLatin1String("0310"))
        item.ean = ean13(QStringLiteral("8012345") +
                         QStringLiteral("%1").arg(items.size() + 1, 5, 10, QLatin1Char('0')));
      items.append(item);
    }
  }
  return items;
}

// Shop a restocking import sends labels to.
struct Consignee {
  const char* customer;
  const char* name;
  const char* address;
  const char* postcode;
  const char* town;
  const char* province;
  const char* order;
};

const Consignee kConsignees[] = {
    {"C00412", "BOUTIQUE ELEGANZA SNC", "VIA GARIBALDI 12", "20121", "MILANO", "MI", "OC24/0117"},
    {"C00587", "MODA UOMO DI ROSSI MARIO", "CORSO ITALIA 45", "50123", "FIRENZE", "FI",
     "OC24/0121"},
    {"C00733", "L\u00B4ATELIER SRL", "VIA DEL CORSO 210", "00186", "ROMA", "RM", "OC24/0125"},
};

struct Import {
  QDate date;
  QString file;
  int labels;
  bool restocking;
};

}  // namespace

QString settingsImage(const QString& section, const QList<QPair<QString, QString>>& entries) {
  QString image = '[' + section + "]\n";
  for (const auto& [name, value] : entries) image += name + '=' + value + '\n';
  return image;
}

void fillUserDemo(db::Database& userDb, const DemoSettings& settings) {
  const QString tempDir =
      settings.tempDir.isEmpty() ? settings.binDir + QStringLiteral("TEMP\\") : settings.tempDir;
  const QList<QPair<QString, QString>> entries = {
      {QStringLiteral("Directory bin"), settings.binDir},
      {QStringLiteral("Archivio"), settings.archive},
      {QStringLiteral("Directory tabelle temporanee"), tempDir},
  };
  struct User {
    int code;
    const char* name;
    const char* password;
    int profile;
  };
  const User users[] = {{kDemoUser, "DEMO", "", 0}, {kTestUser, "PROVA", "prova", 1}};

  db::Transaction transaction(userDb);
  for (const User& user : users) {
    const QString code = QString::number(user.code);
    exec(userDb, transaction,
         {QStringLiteral("INSERT INTO UTENTI (CODICE,NOMEUTENTE,PWDUTENTE,DITTA,"),
          QStringLiteral("PROFILOSICUREZZA,VANDEL) VALUES("), code + ',',
          core::sqlStringOrNull(text(user.name)) + ',', core::sqlString(text(user.password)) + ',',
          core::sqlStringOrNull(settings.company) + ',', QString::number(user.profile) + ',',
          core::sqlStringOrNull(settingsImage(settings.company, entries)) + ')'});
    int progressive = 0;
    for (const auto& [name, value] : entries) {
      exec(userDb, transaction,
           {QStringLiteral("INSERT INTO TABVANDEL (UTENTE,INTESTAZIONE,PARAMETRO,VALORE,"),
            QStringLiteral("PROGRESSIVO) VALUES("), code + ',',
            core::sqlStringOrNull(settings.company) + ',', core::sqlStringOrNull(name) + ',',
            core::sqlStringOrNull(value) + ',', QString::number(++progressive) + ')'});
    }
  }
  transaction.commit();
}

void fillArchiveDemo(db::Database& archive) {
  db::Transaction transaction(archive);
  const auto run = [&](const QStringList& lines) { exec(archive, transaction, lines); };

  for (const Model& model : kModels) {
    run({QStringLiteral("INSERT INTO CLASSIFICAZIONE3 (CODICE,DESCRIZIONE,DESCRIZIONE1) VALUES("),
         core::sqlStringOrNull(text(model.code)) + ',' + core::sqlStringOrNull(text(model.name)) +
             ',' + core::sqlStringOrNull(text(model.description)) + ')'});
  }
  for (const Variant& variant : kVariants) {
    run({QStringLiteral("INSERT INTO CLASSIFICAZIONE4 (CODICE,DESCRIZIONE,DESCRIZIONE1) VALUES("),
         core::sqlStringOrNull(text(variant.code)) + ',' +
             core::sqlStringOrNull(text(variant.name)) + ',' +
             core::sqlStringOrNull(text(variant.description)) + ')'});
  }
  const QList<Item> items = demoItems();
  for (const Item& item : items) {
    run({QStringLiteral("INSERT INTO ANAMAG (CODICE,ESTENSIONE,CLASSIFICAZIONE3,CLASSIFICAZIONE4)"),
         QStringLiteral("VALUES(") + core::sqlStringOrNull(item.code) + ',' +
             core::sqlStringOrNull(item.size) + ',' +
             core::sqlStringOrNull(text(item.model->code)) + ',' +
             core::sqlStringOrNull(text(item.variant->code)) + ')'});
  }

  const Import imports[] = {
      {QDate(2024, 3, 4), QStringLiteral("C:\\ETICHETTE\\CARICO_20240304.TXT"), 40, false},
      {QDate(2024, 3, 8), QStringLiteral("C:\\ETICHETTE\\RIASSORTIMENTO_20240308.TXT"), 30, true},
  };
  // An earlier launch already printed the first labels of the first import.
  constexpr int kPrintedLabels = 10;
  const qint64 launch = db::generatorValue(transaction, QStringLiteral("IDLANCISTAMPACOUNTER"));
  run({QStringLiteral("INSERT INTO LANCISTAMPA (ID,DATA,NOTE,ESPORTATO) VALUES("),
       QString::number(launch) + ',' + core::sqlDateLiteral(QDate(2024, 3, 5)) + ',',
       core::sqlStringOrNull(QStringLiteral("CARICO DI MARZO - PRIMA PARTE")) + ",'0')"});

  int serial = 0;
  for (const Import& import : imports) {
    const qint64 importId =
        db::generatorValue(transaction, QStringLiteral("IDACQUISIZIONICOUNTER"));
    run({QStringLiteral("INSERT INTO ACQUISIZIONI (ID,DATA,NOMEFILE) VALUES("),
         QString::number(importId) + ',' + core::sqlDateLiteral(import.date) + ',' +
             core::sqlStringOrNull(import.file) + ')'});
    // The first sixteen characters of a barcode identify article, size and
    // production lot; the last four are the serial number.
    const QString lot = import.date.toString(QStringLiteral("yyMMdd"));
    for (int line = 0; line < import.labels; ++line, ++serial) {
      const Item& item = items.at(serial % items.size());
      const QString barcode = item.code + item.size.rightJustified(3, QLatin1Char('0')) + lot +
                              QStringLiteral("%1").arg(serial + 1, 4, 10, QLatin1Char('0'));
      const QString productData = QStringLiteral("MOD.%1 VAR.%2 TG.%3 %4")
                                      .arg(text(item.model->code), text(item.variant->code),
                                           item.size, text(item.model->fabric));
      const QString description =
          text(item.model->description) + QStringLiteral(" - ") + text(item.variant->description);
      const Consignee* shop =
          import.restocking
              ? &kConsignees[line * static_cast<int>(std::size(kConsignees)) / import.labels]
              : nullptr;
      const auto shopField = [&](const char* Consignee::*field) {
        return core::sqlStringOrNull(shop ? text(shop->*field) : QString()) + ',';
      };
      const bool printed = !import.restocking && line < kPrintedLabels;
      run({QStringLiteral("INSERT INTO ETICHETTE (ID,IDACQUISIZIONE,CODICE,"),
           QStringLiteral("DATIPRODOTTO,DESCRIZIONE,CAUSALE,ORDINE,CODCLIDESTIN,"),
           QStringLiteral("RAGSOCCLIDESTIN,FORNITORE,INDIRIZZO,CAP,CITTA,PROVINCIA,"),
           QStringLiteral("NAZIONE,CODICE_EAN,IDLANCIOSTAMPA) VALUES("),
           QStringLiteral("GEN_ID(IDETICHETTECOUNTER,1),"),
           QString::number(importId) + ',',
           core::sqlStringOrNull(barcode) + ',',
           core::sqlStringOrNull(productData) + ',',
           core::sqlStringOrNull(description) + ',',
           core::sqlStringOrNull(shop ? QStringLiteral("RIASS") : QString()) + ',',
           shopField(&Consignee::order),
           shopField(&Consignee::customer),
           shopField(&Consignee::name),
           core::sqlStringOrNull(shop ? QStringLiteral("F0021") : QString()) + ',',
           shopField(&Consignee::address),
           shopField(&Consignee::postcode),
           shopField(&Consignee::town),
           shopField(&Consignee::province),
           core::sqlStringOrNull(shop ? QStringLiteral("ITALIA") : QString()) + ',',
           core::sqlStringOrNull(shop ? QString() : item.ean) + ',',
           (printed ? QString::number(launch) : QStringLiteral("NULL")) + ')'});
      // The article's arrival in the warehouse carries the same serial barcode.
      run({QStringLiteral("INSERT INTO MOVMAG (ID,CODICEARTICOLO,ESTENSIONECODICEART,"),
           QStringLiteral("NUMEROSERIALE) VALUES(GEN_ID(IDMOVMAGCOUNTER,1),"),
           core::sqlStringOrNull(item.code) + ',' + core::sqlStringOrNull(item.size) + ',' +
               core::sqlStringOrNull(barcode) + ')'});
    }
  }

  // Print settings as the print settings window leaves them for the demo user.
  for (const auto& [name, value] :
       {QPair<QString, QString>{QStringLiteral("ModoStampa"), QStringLiteral("L")},
        QPair<QString, QString>{QStringLiteral("StampanteTermica"), QString()}}) {
    run({QStringLiteral("INSERT INTO TABX (CODICE,NOME,TESTO,UTENTE) VALUES("),
         QStringLiteral("GEN_ID(CODICETABXCOUNTER,1),"), core::sqlStringOrNull(name) + ',',
         core::sqlStringOrNull(value) + ',', QString::number(kDemoUser) + ')'});
  }
  transaction.commit();
}

}  // namespace host
