#include "env/TabX.h"

#include <QDate>
#include <QDir>

#include "core/Dates.h"
#include "core/Paths.h"
#include "env/DatabaseLocation.h"
#include "env/SiblingLibrary.h"
#include "ui/Prompter.h"

namespace {

const QStringList kSnapshotNoWait{QStringLiteral("isc_tpb_concurrency"),
                                  QStringLiteral("isc_tpb_nowait")};

QVariant orNull(const QString& text, const QVariant& value) {
  return text.isEmpty() ? QVariant() : value;
}

QVariant integerOrNull(const QString& text) {
  bool ok = false;
  const qlonglong number = text.trimmed().toLongLong(&ok);
  return ok ? QVariant(number) : QVariant();
}

QVariant dateOrNull(const QString& text) {
  const QDate date = core::parseShortDate(text);
  return date.isValid() ? QVariant(date) : QVariant();
}

// Creates the script table of the user database when it is missing.
void assicuraTabScript(db::Query& query) {
  query.close();
  query.sql = QStringList{QStringLiteral("SELECT RDB$RELATION_NAME FROM RDB$RELATIONS"),
                          QStringLiteral("WHERE RDB$RELATION_NAME='TABSCRIPT'")};
  query.open();
  const bool exists = !query.isEmpty();
  query.transaction().commit();  // no snapshot kept open from here
  if (exists) return;
  query.sql = QStringList{QStringLiteral("CREATE TABLE TABSCRIPT("),
                          QStringLiteral("PROGETTO VARCHAR(15) NOT NULL,"),
                          QStringLiteral("SCRIPTFORM VARCHAR(15) NOT NULL,"),
                          QStringLiteral("CONTESTO SMALLINT NOT NULL,"),
                          QStringLiteral("UTENTE VARCHAR(15) NOT NULL,"),
                          QStringLiteral("DESCRIZIONESITUAZIONE BLOB,"),
                          QStringLiteral("SCRIPT BLOB,"),
                          QStringLiteral("MODIFICATODAUTENTE SMALLINT,"),
                          QStringLiteral("DATAULTIMAMODIFICA DATE,"),
                          QStringLiteral("STATUS SMALLINT,"),
                          QStringLiteral("CONSTRAINT DORVITAB_CHIAVEPRIMARIA PRIMARY KEY "
                                         "(PROGETTO,SCRIPTFORM,CONTESTO,UTENTE));")};
  try {
    query.execSql();
    query.transaction().commit();
  } catch (const db::DbError&) {
    query.transaction().rollback();
    ui::error(QStringLiteral("Errore interno di CREATE: impossibile creare la tabella TABSCRIPT"));
  }
}

}  // namespace

TTabXForm::TTabXForm(QObject* owner, quint8 modoConfigurazione)
    : QObject(owner),
      IBTransaction1(IBDatabase1, kSnapshotNoWait),
      IBTransaction2(IBDatabase2),
      IBTransaction3(IBDatabase3),
      IBTransaction4(IBDatabase4),
      IBTransaction5(IBDatabase5),
      TransazioneUser(IBDatabaseUser),
      QueryVandel(IBDatabaseUser, TransazioneUser),
      modo_(modoConfigurazione) {
  MemTabX.addField(QStringLiteral("Codice"), db::FieldType::AutoInc);
  MemTabX.addField(QStringLiteral("Tipo"), db::FieldType::String, 10);
  MemTabX.addField(QStringLiteral("Nome"), db::FieldType::String, 64);
  MemTabX.addField(QStringLiteral("Numero"), db::FieldType::LargeInt);
  MemTabX.addField(QStringLiteral("Testo"), db::FieldType::String, 128);
  MemTabX.addField(QStringLiteral("Data"), db::FieldType::Date);
  MemTabX.addField(QStringLiteral("Memo"), db::FieldType::Memo);
  MemTabX.addField(QStringLiteral("Livello1"), db::FieldType::SmallInt);
  MemTabX.addField(QStringLiteral("Livello2"), db::FieldType::SmallInt);
  MemTabX.addField(QStringLiteral("Utente"), db::FieldType::SmallInt);

  const QString hostDir = core::hostDirectory();
  if (modo_ != ModoNudo) {
    FileVerde = hostDir + QStringLiteral("Grafica\\Verde.bmp");
    FileRosso = hostDir + QStringLiteral("Grafica\\Rosso.bmp");
    const QString userDir = hostDir + QStringLiteral("user\\");
    QDir().mkpath(core::nativePath(userDir));
    if (env::ApriDatabase(IBDatabaseUser, userDir, QStringLiteral("user.fdb"))) {
      try {
        assicuraTabScript(QueryVandel);
      } catch (const db::DbError&) {
        ui::error(QStringLiteral("Errore inizializzazione database utenti"));
      }
    } else {
      ui::error(QStringLiteral("Errore inizializzazione database utenti"));
    }
  }
  MemTabX.open();
}

TTabXForm::~TTabXForm() = default;

// ---- Parameter table ----

int TTabXForm::cercaVoce(const QString& nome) const {
  const int column = MemTabX.fieldIndex(QStringLiteral("Nome"));
  for (int row = 0; row < MemTabX.rowCount(); ++row)
    if (MemTabX.value(row, column).toString() == nome) return row;
  return -1;
}

void TTabXForm::Inserisci(const QString& tipo, const QString& nome, const QString& numero,
                          const QString& testo, const QString& data, const QString& memo,
                          const QString& livello1, const QString& livello2, const QString& utente) {
  const QString tipoCampo = tipo.left(10);
  const QString nomeCampo = nome.left(64);
  const QVariant utenteCampo = integerOrNull(utente);
  const bool found =
      MemTabX.locate({QStringLiteral("Tipo"), QStringLiteral("Nome"), QStringLiteral("Utente")},
                     {orNull(tipoCampo, tipoCampo), orNull(nomeCampo, nomeCampo), utenteCampo});
  if (found) {
    MemTabX.edit();
  } else {
    MemTabX.append();
    MemTabX.setValue(QStringLiteral("Tipo"), orNull(tipoCampo, tipoCampo));
    MemTabX.setValue(QStringLiteral("Nome"), orNull(nomeCampo, nomeCampo));
    MemTabX.setValue(QStringLiteral("Utente"), utenteCampo);
  }
  MemTabX.setValue(QStringLiteral("Numero"), integerOrNull(numero));
  MemTabX.setValue(QStringLiteral("Testo"), orNull(testo, testo.left(128)));
  MemTabX.setValue(QStringLiteral("Data"), dateOrNull(data));
  MemTabX.setValue(QStringLiteral("Memo"), orNull(memo, memo));
  MemTabX.setValue(QStringLiteral("Livello1"), integerOrNull(livello1));
  MemTabX.setValue(QStringLiteral("Livello2"), integerOrNull(livello2));
  MemTabX.post();
}

QString TTabXForm::leggiVoce(const QString& nome, const QString& campo) const {
  const int row = cercaVoce(nome);
  return row < 0 ? QString() : MemTabX.value(row, MemTabX.fieldIndex(campo)).toString();
}

bool TTabXForm::scriviVoce(const QString& nome, const QString& campo, const QVariant& valore) {
  const int row = cercaVoce(nome);
  if (row < 0) return false;
  MemTabX.setCurrentRow(row);
  MemTabX.edit();
  MemTabX.setValue(campo, valore);
  MemTabX.post();
  return true;
}

QString TTabXForm::GetV(const QString& nome) const {
  return leggiVoce(nome, QStringLiteral("Testo"));
}

bool TTabXForm::SetV(const QString& nome, const QString& valore) {
  return scriviVoce(nome, QStringLiteral("Testo"), orNull(valore, valore.left(128)));
}

QString TTabXForm::GetM(const QString& nome) const {
  return leggiVoce(nome, QStringLiteral("Memo"));
}

bool TTabXForm::SetM(const QString& nome, const QString& valore) {
  return scriviVoce(nome, QStringLiteral("Memo"), orNull(valore, valore));
}

// ---- Connections ----

bool TTabXForm::connetti(db::Database& database, const QString& percorso) {
  // The main database is only ever opened: creating one here would hide a
  // wrong name behind a new, empty archive.
  // An empty or relative name would be looked for (and its dati.ini read) in
  // whatever folder the process happens to run in.
  const QString nome = env::storedDatabaseName(percorso);
  const bool ok =
      env::isCompleteDatabaseName(nome) &&
      env::ApriDatabase(database, core::storedDirectory(nome), core::storedFileName(nome), {}, {},
                        nullptr, env::WhenMissing::Fail);
  if (!ok) ui::error(QStringLiteral("Errore apertura archivio"));
  return ok;
}

bool TTabXForm::ConnettiDatabase0(const QString& percorso) {
  return connetti(IBDatabase1, percorso);
}
bool TTabXForm::ConnettiDatabase1(const QString& nome) {
  return connetti(IBDatabase1, GetV(nome));
}
bool TTabXForm::ConnettiDatabase2(const QString& nome) {
  return connetti(IBDatabase2, GetV(nome));
}
bool TTabXForm::ConnettiDatabase3(const QString& nome) {
  return connetti(IBDatabase3, GetV(nome));
}
bool TTabXForm::ConnettiDatabase4(const QString& nome) {
  return connetti(IBDatabase4, GetV(nome));
}
bool TTabXForm::ConnettiDatabase5(const QString& nome) {
  return connetti(IBDatabase5, GetV(nome));
}

// ---- Window log and sibling libraries ----

bool TTabXForm::ScritturaHandleDiApertura(int idFinestra, qint64 handle) {
  try {
    TransazioneUser.rollback();
    TransazioneUser.start();
    QueryVandel.close();
    QueryVandel.sql = QStringList{
        QStringLiteral("UPDATE ZELMILOGFUNZ SET HANDLEFINESTRA='") + QString::number(handle) + '\'',
        QStringLiteral("WHERE IDFINESTRA='") + QString::number(idFinestra) + '\''};
    QueryVandel.execSql();
    TransazioneUser.commitRetaining();
    return true;
  } catch (const db::DbError&) {
    return false;
  }
}

void TTabXForm::LanciaStampaConDll(const QString& titolo, const QString& nomeReport,
                                   db::DataSet* dataset) {
  SetV(QStringLiteral("TitoloStampa"), titolo);
  SetV(QStringLiteral("NomeReport"), nomeReport);
  // The sibling reads the environment through the address of a variable
  // that holds it, as the suite's libraries hand it over.
  TTabXForm* self = this;
  env::SiblingCallResult result;
  if (auto* query = dynamic_cast<db::Query*>(dataset)) {
    result = env::callSiblingOnce(
        QStringLiteral("Vopra"), QStringLiteral("ShowVopra11FormD"), [&](QFunctionPointer entry) {
          reinterpret_cast<void (*)(db::Query*, TTabXForm**)>(entry)(query, &self);
        });
  } else {
    auto* table = dynamic_cast<db::MemTable*>(dataset);
    result = env::callSiblingOnce(QStringLiteral("Vopra"), QStringLiteral("ShowVopra11MemFormD"),
                                  [&](QFunctionPointer entry) {
                                    reinterpret_cast<void (*)(db::MemTable*, TTabXForm**)>(entry)(
                                        table, &self);
                                  });
  }
  if (result == env::SiblingCallResult::Failed)
    ui::error(QStringLiteral("Errore nell'accesso alla DLL Vopra delle stampe"));
}

void TTabXForm::AvviaFunzXDll(const QString& libreria, const QString& funzione, int argomento) {
  env::callSiblingFunction(libreria, funzione, argomento);
}
