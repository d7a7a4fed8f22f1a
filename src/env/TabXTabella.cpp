// The per-user parameter table TABX of the main database. Text written into
// TESTO and MEMO has its apostrophes replaced by the acute accent, as the
// other programs reading TABX expect.
#include "core/Cp1252.h"
#include "core/Dates.h"
#include "core/SqlText.h"
#include "env/TabX.h"
#include "ui/Prompter.h"

namespace {

// "'value'," or "NULL," for an empty value; text fields lose their apostrophes.
QString testoOrNull(const QString& value, const QString& separator = QStringLiteral(",")) {
  return core::sqlStringOrNull(core::apostrophesToAcute(value)) + separator;
}

QString numeroOrNull(const QString& value, const QString& separator = QStringLiteral(",")) {
  return core::sqlStringOrNull(QString(value).replace(',', '.')) + separator;
}

// A date typed day first, written month first; an unreadable date fails the
// statement instead of being stored as something else.
QString dataOrNull(const QString& value, const QString& separator = QStringLiteral(",")) {
  if (value.isEmpty()) return QStringLiteral("NULL") + separator;
  const QDate date = core::parseShortDate(value);
  if (!date.isValid()) throw db::DbError(QStringLiteral("Data non valida: ") + value);
  return core::sqlDateLiteral(date) + separator;
}

}  // namespace

QString TTabXForm::leggiTabX(const QString& colonna, const QString& nome, bool perUtente) {
  try {
    db::Query query(IBDatabase1, IBTransaction1);
    query.sql << QStringLiteral("SELECT ") + colonna + QStringLiteral(" FROM TABX")
              << QStringLiteral("WHERE (NOME=") + core::sqlString(nome) + ')';
    if (perUtente) query.sql << QStringLiteral("AND(UTENTE='") + utente() + "')";
    query.open();
    return query.isEmpty() ? QString() : query.text(colonna);
  } catch (const db::DbError&) {
    return {};
  }
}

QString TTabXForm::ValoreTabX(const QString& nome, bool perUtente) {
  return leggiTabX(QStringLiteral("TESTO"), nome, perUtente);
}

QString TTabXForm::ValoreMTabX(const QString& nome, bool perUtente) {
  return leggiTabX(QStringLiteral("MEMO"), nome, perUtente);
}

bool TTabXForm::scriviTabX(const QString& colonna, const QString& nome, const QString& valore,
                           bool perUtente) {
  try {
    db::Query query(IBDatabase1, IBTransaction1);
    const QString userLine = QStringLiteral("AND(UTENTE='") + utente() + "')";
    query.sql << QStringLiteral("SELECT * FROM TABX")
              << QStringLiteral("WHERE (NOME=") + core::sqlString(nome) + ')';
    if (perUtente) query.sql << userLine;
    query.open();
    const bool exists = !query.isEmpty();
    query.close();
    if (!exists) {
      query.sql = QStringList{QStringLiteral("INSERT INTO TABX (CODICE,NOME,") + colonna +
                                  QStringLiteral(",UTENTE) VALUES("),
                              QStringLiteral("GEN_ID(CODICETABXCOUNTER,1),"),
                              core::sqlString(nome) + ',', testoOrNull(valore),
                              perUtente ? '\'' + utente() + "')" : QStringLiteral("NULL)")};
    } else {
      query.sql = QStringList{QStringLiteral("UPDATE TABX SET ") + colonna + '=' +
                                  core::sqlStringOrNull(core::apostrophesToAcute(valore)),
                              QStringLiteral("WHERE (NOME=") + core::sqlString(nome) + ')'};
      if (perUtente) query.sql << userLine;
    }
    query.execSql();
    IBTransaction1.commitRetaining();
    return true;
  } catch (const db::DbError&) {
    return false;
  }
}

bool TTabXForm::SettaValoreTabX(const QString& nome, const QString& valore, bool perUtente) {
  return scriviTabX(QStringLiteral("TESTO"), nome, valore, perUtente);
}

bool TTabXForm::SettaValoreMTabX(const QString& nome, const QString& valore, bool perUtente) {
  return scriviTabX(QStringLiteral("MEMO"), nome, valore, perUtente);
}

bool TTabXForm::VerificaEsistenzaInTabX(const QString& progetto, const QString& situazione,
                                        const QString& nome) {
  if (progetto.isEmpty() || situazione.isEmpty() || nome.isEmpty()) return false;
  try {
    db::Query query(IBDatabase1, IBTransaction1);
    query.sql << QStringLiteral("SELECT * FROM TABX WHERE ")
              << QStringLiteral("(CODPROGETTO=") + core::sqlString(progetto) + ")AND"
              << QStringLiteral("(CODSITUAZIONE=") + core::sqlString(situazione) + ")AND"
              << QStringLiteral("(NOME=") + core::sqlString(nome) + ")AND"
              << QStringLiteral("(UTENTE='") + utente() + "')";
    query.open();
    return !query.isEmpty();
  } catch (const db::DbError&) {
    return false;
  }
}

bool TTabXForm::AggiungiParametroInTabX(const QString& progetto, const QString& situazione,
                                        const QString& nome, const QString& numero,
                                        const QString& testo, const QString& data,
                                        const QString& memo, const QString& livello1,
                                        const QString& livello2) {
  if (progetto.isEmpty() || situazione.isEmpty() || nome.isEmpty()) return false;
  if (VerificaEsistenzaInTabX(progetto, situazione, nome)) return true;
  try {
    db::Query query(IBDatabase1, IBTransaction1);
    query.sql << QStringLiteral("INSERT INTO TABX VALUES(")
              << QStringLiteral("GEN_ID(CODICETABXCOUNTER,1),") << core::sqlString(progetto) + ','
              << core::sqlString(situazione) + ',' << QStringLiteral("'TBX',")
              << core::sqlString(nome) + ',' << numeroOrNull(numero) << testoOrNull(testo)
              << dataOrNull(data) << testoOrNull(memo) << core::sqlStringOrNull(livello1) + ','
              << core::sqlStringOrNull(livello2) + ',' << core::sqlString(utente()) + ')';
    query.execSql();
    IBTransaction1.commitRetaining();
    return true;
  } catch (const db::DbError&) {
    ui::error(QStringLiteral("Errore interno di INSERT: impossibile aggiungere il parametro ") +
              nome);
    return false;
  }
}

bool TTabXForm::ScriviParametroInTabX(const QString& progetto, const QString& situazione,
                                      const QString& nome, const QString& numero,
                                      const QString& testo, const QString& data,
                                      const QString& memo) {
  if (!VerificaEsistenzaInTabX(progetto, situazione, nome)) return false;
  try {
    db::Query query(IBDatabase1, IBTransaction1);
    query.sql << QStringLiteral("UPDATE TABX SET")
              << QStringLiteral("NUMERO=") + numeroOrNull(numero)
              << QStringLiteral("TESTO=") + testoOrNull(testo)
              << QStringLiteral("DATA=") + dataOrNull(data)
              << QStringLiteral("MEMO=") + testoOrNull(memo, QString())
              << QStringLiteral("WHERE (CODPROGETTO=") + core::sqlString(progetto) + ")AND"
              << QStringLiteral("(CODSITUAZIONE=") + core::sqlString(situazione) + ")AND"
              << QStringLiteral("(NOME=") + core::sqlString(nome) + ")AND"
              << QStringLiteral("(UTENTE='") + utente() + "')";
    query.execSql();
    IBTransaction1.commitRetaining();
    return true;
  } catch (const db::DbError&) {
    ui::error(QStringLiteral("Errore interno di UPDATE: impossibile settare il parametro ") + nome);
    return false;
  }
}

bool TTabXForm::CaricaParametroDaTabX(const QString& progetto, const QString& situazione,
                                      const QString& nome) {
  if (!VerificaEsistenzaInTabX(progetto, situazione, nome) || cercaVoce(nome) < 0) return false;
  try {
    db::Query query(IBDatabase1, IBTransaction1);
    query.sql << QStringLiteral("SELECT * FROM TABX WHERE")
              << QStringLiteral("(CODPROGETTO=") + core::sqlString(progetto) + ")AND"
              << QStringLiteral("(CODSITUAZIONE=") + core::sqlString(situazione) + ")AND"
              << QStringLiteral("(NOME=") + core::sqlString(nome) + ")AND"
              << QStringLiteral("(UTENTE='") + utente() + "')";
    query.open();
    if (query.isEmpty()) return false;
    SetV(nome, query.text(QStringLiteral("TESTO")));
    SetM(nome, query.text(QStringLiteral("MEMO")));
    return true;
  } catch (const db::DbError&) {
    return false;
  }
}

void TTabXForm::AggiornaParametriTabX() {
  try {
    db::Query query(IBDatabase1, IBTransaction1);
    query.sql << QStringLiteral("SELECT * FROM TABX WHERE")
              << QStringLiteral("(UTENTE='") + utente() + "')AND" << QStringLiteral("(TIPO='TBX')");
    for (query.open(); !query.isEof(); query.next()) {
      const QString nome = query.text(QStringLiteral("NOME"));
      const QString numero = query.text(QStringLiteral("NUMERO"));
      const QString testo = query.text(QStringLiteral("TESTO"));
      const QString data = query.text(QStringLiteral("DATA"));
      const QString memo = query.text(QStringLiteral("MEMO"));
      if (MemTabX.locate({QStringLiteral("Tipo"), QStringLiteral("Nome")},
                         {QStringLiteral("TBX"), nome})) {
        const bool allEmpty =
            numero.isEmpty() && testo.isEmpty() && data.isEmpty() && memo.isEmpty();
        MemTabX.edit();
        if (allEmpty || !numero.isEmpty())
          MemTabX.setValue(QStringLiteral("Numero"),
                           numero.isEmpty() ? QVariant() : QVariant(numero.toLongLong()));
        if (allEmpty || !testo.isEmpty())
          MemTabX.setValue(QStringLiteral("Testo"),
                           testo.isEmpty() ? QVariant() : QVariant(testo.left(128)));
        if (allEmpty || !data.isEmpty())
          MemTabX.setValue(QStringLiteral("Data"),
                           data.isEmpty() ? QVariant() : QVariant(core::parseShortDate(data)));
        if (allEmpty || !memo.isEmpty())
          MemTabX.setValue(QStringLiteral("Memo"), memo.isEmpty() ? QVariant() : QVariant(memo));
        MemTabX.post();
      } else {
        Inserisci(QStringLiteral("TBX"), nome, numero, testo, data, memo,
                  query.text(QStringLiteral("LIVELLO1")), query.text(QStringLiteral("LIVELLO2")),
                  query.text(QStringLiteral("UTENTE")));
      }
    }
  } catch (const db::DbError&) {
  }
}
