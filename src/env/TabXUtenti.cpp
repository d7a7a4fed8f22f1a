// Users and their settings: the user database (mode 0) or the INI files
// beside the host (mode 1).
#include "core/IniFile.h"
#include "core/Paths.h"
#include "core/SqlText.h"
#include "db/UnitOfWork.h"
#include "env/TabX.h"
#include "ui/Prompter.h"

QString TTabXForm::fileIniUtenti() const {
  return core::hostDirectory() + QStringLiteral("NOMIDIT\\UTENTI.INI");
}

QString TTabXForm::fileIniUtente() const {
  return core::hostDirectory() + QStringLiteral("NOMIDIT\\USERCFG\\") + utente() + ' ' + userName_ +
         QStringLiteral(".INI");
}

QString TTabXForm::primoValoreUtenti(const QStringList& lines) {
  try {
    QueryVandel.close();
    QueryVandel.sql = lines;
    QueryVandel.open();
    if (QueryVandel.isEmpty()) return {};
    return QueryVandel.text(QueryVandel.field(0).name);
  } catch (const db::DbError&) {
    return {};
  }
}

void TTabXForm::SetUserPerNum(int n) {
  userNumber_ = n;
  userName_.clear();
  userPassword_.clear();
  if (modo_ == ModoDatabase) {
    userName_ = primoValoreUtenti({QStringLiteral("SELECT NOMEUTENTE FROM UTENTI"),
                                   QStringLiteral("WHERE (CODICE='") + utente() + "')"});
    userPassword_ = primoValoreUtenti(
        {QStringLiteral("SELECT PWDUTENTE FROM UTENTI"),
         QStringLiteral("WHERE (NOMEUTENTE=") + core::sqlString(userName_) + ')'});
    try {
      TransazioneUser.rollback();
      TransazioneUser.start();
    } catch (const db::DbError&) {
    }
    Ditta = primoValoreUtenti(
        {QStringLiteral("SELECT DITTA FROM UTENTI"),
         QStringLiteral("WHERE (NOMEUTENTE=") + core::sqlString(userName_) + ')'});
  } else if (modo_ == ModoFileIni) {
    QStringList utenti;
    CaricaUser(utenti);
    for (const QString& voce : utenti)
      if (voce.contains(utente())) userName_ = voce.mid(2);
    Ditta = core::IniFile(fileIniUtente())
                .read(QStringLiteral("STATUS MACCHINA"), QStringLiteral("UltimaDitta"));
  } else {
    Ditta.clear();
  }
  CaricaVandel();
}

void TTabXForm::SetUserPerNome(const QString& nome) {
  int codice = 0;
  if (modo_ == ModoDatabase)
    codice = primoValoreUtenti({QStringLiteral("SELECT CODICE FROM UTENTI"),
                                QStringLiteral("WHERE (NOMEUTENTE=") + core::sqlString(nome) + ')'})
                 .toInt();
  SetUserPerNum(codice);
}

void TTabXForm::CaricaUser(QStringList& lista) {
  if (modo_ == ModoFileIni) {
    lista.append(core::IniFile(fileIniUtenti()).sections());
    return;
  }
  if (modo_ != ModoDatabase) return;
  try {
    QueryVandel.close();
    QueryVandel.sql = QStringList{QStringLiteral("SELECT NOMEUTENTE FROM UTENTI"),
                                  QStringLiteral("ORDER BY CODICE")};
    for (QueryVandel.open(); !QueryVandel.isEof(); QueryVandel.next())
      lista.append(QueryVandel.text(QStringLiteral("NOMEUTENTE")));
  } catch (const db::DbError&) {
  }
}

bool TTabXForm::VerificaPasswordUser(const QString& nome, const QString& password) {
  if (modo_ != ModoDatabase) return true;
  try {
    QueryVandel.close();
    QueryVandel.sql =
        QStringList{QStringLiteral("SELECT PWDUTENTE FROM UTENTI"),
                    QStringLiteral("WHERE (NOMEUTENTE=") + core::sqlString(nome) + ')'};
    QueryVandel.open();
    if (QueryVandel.isEmpty()) return false;
    const QString stored = QueryVandel.text(QStringLiteral("PWDUTENTE"));
    return stored.isEmpty() || stored == password;
  } catch (const db::DbError&) {
    return false;
  }
}

QString TTabXForm::DecodificaNomeUser(const QString& codice) {
  bool numeric = false;
  const qlonglong number = codice.trimmed().toLongLong(&numeric);
  if (!numeric) return {};  // the code is pasted as a number: anything else cannot match
  try {
    db::Query query(IBDatabaseUser, TransazioneUser);
    query.setForwardOnly(true);
    query.sql << QStringLiteral("SELECT NOMEUTENTE") << QStringLiteral("FROM UTENTI")
              << QStringLiteral("WHERE CODICE=") + QString::number(number);
    query.open();
    return query.isEof() ? QString() : query.text(QStringLiteral("NOMEUTENTE"));
  } catch (const db::DbError&) {
    return {};
  }
}

int TTabXForm::ProfiloSicurezzaUtente() {
  try {
    TransazioneUser.rollback();
    TransazioneUser.start();
  } catch (const db::DbError&) {
    return 0;
  }
  return primoValoreUtenti({QStringLiteral("SELECT PROFILOSICUREZZA"),
                            QStringLiteral("FROM UTENTI"),
                            QStringLiteral("WHERE CODICE='") + utente() + '\''})
      .toInt();
}

// ---- Settings store ----

QString TTabXForm::CaricaParametro(const QString& nome) {
  if (modo_ == ModoFileIni) return core::IniFile(fileIniUtente()).read(Ditta, nome);
  if (modo_ != ModoDatabase) return {};
  return primoValoreUtenti({QStringLiteral("SELECT VALORE FROM TABVANDEL WHERE"),
                            QStringLiteral("(UTENTE='") + utente() + "')AND",
                            QStringLiteral("(INTESTAZIONE=") + core::sqlString(Ditta) + ")AND",
                            QStringLiteral("(PARAMETRO=") + core::sqlString(nome) + ')'});
}

void TTabXForm::SettaParametro(const QString& nome, const QString& valore) {
  if (modo_ == ModoFileIni)
    core::IniFile(fileIniUtente()).write(Ditta, nome, valore);
  else if (modo_ == ModoDatabase)
    ScriviParametroVandel(Ditta, nome, valore);
  ScriviVandel(userNumber_);
}

void TTabXForm::SettaFileIni(const QString& sezione, const QString& chiave, const QString& valore) {
  core::IniFile(fileIniUtente()).write(sezione, chiave, valore);
}

void TTabXForm::ScriviParametroVandel(const QString& sezione, const QString& nome,
                                      const QString& valore) {
  const QString n = utente();
  const QString valoreSql = valore.isEmpty() ? QStringLiteral("NULL") : core::sqlString(valore);
  bool exists = false;
  try {
    TransazioneUser.rollback();
    TransazioneUser.start();
    db::UnitOfWork work(TransazioneUser);
    db::Query query(IBDatabaseUser, TransazioneUser);
    query.sql << QStringLiteral("SELECT * FROM TABVANDEL WHERE")
              << QStringLiteral("(UTENTE='") + n + "')AND"
              << QStringLiteral("(INTESTAZIONE=") + core::sqlString(sezione) + ")AND"
              << QStringLiteral("(PARAMETRO=") + core::sqlString(nome) + ')';
    query.open();
    exists = !query.isEmpty();
    query.close();
    if (!exists) {
      query.sql = QStringList{QStringLiteral("SELECT MAX(PROGRESSIVO) FROM TABVANDEL"),
                              QStringLiteral("WHERE (UTENTE='") + n + "')"};
      query.open();
      const qint64 next = query.value(0, 0).isNull() ? 1 : query.value(0, 0).toLongLong() + 1;
      query.close();
      query.sql = QStringList{
          QStringLiteral("INSERT INTO TABVANDEL (UTENTE,INTESTAZIONE,PARAMETRO,VALORE,"),
          QStringLiteral("PROGRESSIVO) VALUES("),
          '\'' + n + "',",
          core::sqlString(sezione) + ',',
          core::sqlString(nome) + ',',
          valoreSql + ',',
          '\'' + QString::number(next) + "')"};
    } else {
      query.sql =
          QStringList{QStringLiteral("UPDATE TABVANDEL SET"), QStringLiteral("VALORE=") + valoreSql,
                      QStringLiteral("WHERE (UTENTE='") + n + "')AND",
                      QStringLiteral("(INTESTAZIONE=") + core::sqlString(sezione) + ")AND",
                      QStringLiteral("(PARAMETRO=") + core::sqlString(nome) + ')'};
    }
    query.execSql();
    work.commit();
  } catch (const db::DbError&) {
    ui::error(
        exists ? QStringLiteral(
                     "Errore interno di UPDATE: impossibile aggiornare la tabella dei parametri")
               : QStringLiteral(
                     "Errore interno di INSERT: impossibile aggiornare la tabella dei parametri"));
  }
  ScriviVandel(userNumber_);
}

void TTabXForm::ScriviVandel(int n) {
  const QString codice = QString::number(n);
  try {
    TransazioneUser.ensureStarted();
    db::UnitOfWork work(TransazioneUser);
    QueryVandel.close();
    QueryVandel.sql = QStringList{QStringLiteral("SELECT * FROM TABVANDEL WHERE"),
                                  QStringLiteral("(UTENTE='") + codice + "')AND",
                                  QStringLiteral("(INTESTAZIONE IS NOT NULL)"),
                                  QStringLiteral("ORDER BY INTESTAZIONE,PROGRESSIVO,UTENTE")};
    QString image;
    QString section;
    for (QueryVandel.open(); !QueryVandel.isEof(); QueryVandel.next()) {
      const QString rowSection = QueryVandel.text(QStringLiteral("INTESTAZIONE"));
      const QString name = QueryVandel.text(QStringLiteral("PARAMETRO"));
      QString piece;
      if (rowSection != section) {
        section = rowSection;
        if (!rowSection.isEmpty()) piece = '[' + rowSection + "]\n";
      }
      if (!name.isEmpty()) piece += name + '=' + QueryVandel.text(QStringLiteral("VALORE"));
      if (!piece.isEmpty()) image += piece + '\n';
    }
    QueryVandel.close();
    QueryVandel.sql = QStringList{
        image.isEmpty()
            ? QStringLiteral("UPDATE UTENTI SET VANDEL=NULL WHERE")
            : QStringLiteral("UPDATE UTENTI SET VANDEL=") + core::sqlString(image) + " WHERE",
        QStringLiteral("CODICE='") + codice + '\''};
    QueryVandel.execSql();
    work.commit();
  } catch (const db::DbError&) {
    ui::error(QStringLiteral(
        "Errore interno di UPDATE: impossibile aggiornare i parametri vandel dell'utente"));
  }
}
