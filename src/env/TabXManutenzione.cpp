// Table maintenance services: what a window that edits a table in a grid
// with an explicit save button needs — new rows keyed from the last row, the
// maximum or a generator; save, cancel, delete and empty with confirmations;
// a row lock before an edit; generators; the per-user script store.
#include <QAbstractButton>
#include <QDate>
#include <QIcon>

#include "core/Dates.h"
#include "core/Paths.h"
#include "core/SqlText.h"
#include "db/EditableTable.h"
#include "env/TabX.h"
#include "ui/Prompter.h"

namespace {

QString chiave(db::EditableTable& dataset) {
  return core::sqlIdentifier(dataset.field(0).name);
}

void esegui(db::EditableTable& dataset, const QStringList& lines) {
  db::Query query(dataset.database(), dataset.transaction());
  query.sql = lines;
  query.execSql();
}

qint64 leggiGeneratore(db::EditableTable& dataset, const QString& generatore) {
  db::Query query(dataset.database(), dataset.transaction());
  query.sql << QStringLiteral("SELECT GEN_ID(") + core::sqlIdentifier(generatore) +
                   QStringLiteral(",1) FROM RDB$DATABASE;");
  query.open();
  return query.value(0, 0).toLongLong();
}

}  // namespace

void TTabXForm::segnaPulsante(QAbstractButton* pulsante, bool modificato) const {
  if (!pulsante) return;
  pulsante->setProperty("Tag", modificato ? 1 : 0);
  pulsante->setIcon(QIcon(core::nativePath(modificato ? FileRosso : FileVerde)));
}

void TTabXForm::AggiornaTabella(db::EditableTable& dataset, const QVariantList& segnalibro,
                                bool valido) {
  dataset.close();
  dataset.transaction().rollback();
  dataset.transaction().start();
  dataset.open();
  if (valido) dataset.gotoBookmark(segnalibro);
}

void TTabXForm::ChiudiTransazione(db::EditableTable& dataset, Posizione& posizione,
                                  QAbstractButton* pulsante) {
  if (dataset.isActive()) {
    dataset.post();
    posizione.segnalibro = dataset.bookmark();
    posizione.valida = true;
  } else {
    posizione.valida = false;
  }
  dataset.transaction().commit();
  segnaPulsante(pulsante, false);
}

void TTabXForm::ChiudiTransEAggiorna(db::EditableTable& dataset, Posizione& posizione,
                                     QAbstractButton* pulsante) {
  ChiudiTransazione(dataset, posizione, pulsante);
  AggiornaTabella(dataset, posizione.segnalibro, posizione.valida);
}

void TTabXForm::NuovoIntSuLast(db::EditableTable& dataset, Posizione& posizione,
                               QAbstractButton* pulsante) {
  ChiudiTransEAggiorna(dataset, posizione, pulsante);
  dataset.last();
  const qint64 ultimo = dataset.isEof() ? 0 : dataset.value(dataset.field(0).name).toLongLong();
  dataset.append();
  dataset.setValue(dataset.field(0).name, ultimo + 1);
  ChiudiTransEAggiorna(dataset, posizione, pulsante);
}

void TTabXForm::NuovoIntSuMax(db::EditableTable& dataset, Posizione& posizione,
                              const QString& tabella, QAbstractButton* pulsante) {
  ChiudiTransEAggiorna(dataset, posizione, pulsante);
  db::Query query(dataset.database(), dataset.transaction());
  query.sql << QStringLiteral("SELECT MAX(") + chiave(dataset) + QStringLiteral(") FROM ") +
                   core::sqlIdentifier(tabella);
  query.open();
  const qint64 massimo = query.value(0, 0).isNull() ? 0 : query.value(0, 0).toLongLong();
  query.close();
  dataset.append();
  dataset.setValue(dataset.field(0).name, massimo + 1);
  ChiudiTransEAggiorna(dataset, posizione, pulsante);
}

void TTabXForm::NuovoIntSuGeneratore(db::EditableTable& dataset, Posizione& posizione,
                                     const QString& generatore, QAbstractButton* pulsante) {
  ChiudiTransEAggiorna(dataset, posizione, pulsante);
  const qint64 valore = leggiGeneratore(dataset, generatore);
  dataset.append();
  dataset.setValue(dataset.field(0).name, valore);
  dataset.post();
  // The new row stays pending until the user saves.
  segnaPulsante(pulsante, true);
}

void TTabXForm::NuovoIntSuGenSQL(db::EditableTable& dataset, Posizione& posizione,
                                 const QString& generatore, const QString& tabella,
                                 QAbstractButton* pulsante) {
  ChiudiTransEAggiorna(dataset, posizione, pulsante);
  const qint64 valore = leggiGeneratore(dataset, generatore);
  esegui(dataset, {QStringLiteral("INSERT INTO ") + core::sqlIdentifier(tabella) + '(' +
                       chiave(dataset) + ')',
                   QStringLiteral("VALUES (") + QString::number(valore) + ')'});
  ChiudiTransEAggiorna(dataset, posizione, pulsante);
  dataset.first();
}

void TTabXForm::Annulla(db::EditableTable& dataset, Posizione& posizione,
                        QAbstractButton* pulsante) {
  if (!pulsante || pulsante->property("Tag").toInt() != 1) return;
  if (!ui::confirm(QStringLiteral("Conferma l'annullamento delle modifiche apportate?"))) return;
  dataset.cancel();
  segnaPulsante(pulsante, false);
  AggiornaTabella(dataset, posizione.segnalibro, posizione.valida);
}

bool TTabXForm::Elimina(db::EditableTable& dataset, Posizione& posizione,
                        QAbstractButton* pulsante) {
  const QVariant chiaveCorrente =
      dataset.isEof() ? QVariant() : dataset.value(dataset.field(0).name);
  const QVariantList segnalibro = dataset.bookmark();
  AggiornaTabella(dataset, segnalibro, !segnalibro.isEmpty());
  if (dataset.isEmpty()) {
    ui::information(QStringLiteral("La tabella è vuota"));
    return false;
  }
  if (!ui::confirm(QStringLiteral("Conferma la cacellazione del record?"))) return false;
  if (chiaveCorrente.isNull() || !dataset.locate(dataset.field(0).name, chiaveCorrente)) {
    ui::warning(QStringLiteral(
        "Questo record è già stato cancellato da un altro utente in un'altra sessione di lavoro"));
    return false;
  }
  try {
    dataset.remove();
  } catch (const db::DbError&) {
    ui::warning(
        QStringLiteral("Impossibile cancellare questo record, altri utenti stanno "
                       "lavorando su questo record."));
    AggiornaTabella(dataset, segnalibro, true);
    return false;
  }
  ChiudiTransazione(dataset, posizione, pulsante);
  AggiornaTabella(dataset, posizione.segnalibro, false);
  return true;
}

void TTabXForm::Azzera(db::EditableTable& dataset, Posizione& posizione, const QString& tabella,
                       QAbstractButton* pulsante) {
  if (!ui::confirm(QStringLiteral("Confermare l'azzeramento della tabella?"))) return;
  try {
    AggiornaTabella(dataset, posizione.segnalibro, posizione.valida);
    esegui(dataset, {QStringLiteral("DELETE FROM ") + core::sqlIdentifier(tabella)});
    ChiudiTransEAggiorna(dataset, posizione, pulsante);
  } catch (const std::exception&) {
    ui::error(QStringLiteral("Impossibile azzerare la tabella!"));
    // Nothing was emptied: the rows are shown again rather than an empty grid.
    try {
      AggiornaTabella(dataset, posizione.segnalibro, posizione.valida);
    } catch (const db::DbError&) {
    }
  }
}

void TTabXForm::Chiudi(db::EditableTable& dataset, QAbstractButton* pulsante) {
  if (!pulsante || pulsante->property("Tag").toInt() != 1) return;
  if (ui::ask(QStringLiteral("Salvare le modifiche apportate?"), ui::Yes | ui::No) != ui::No)
    return;
  dataset.cancel();
  if (dataset.transaction().isActive()) dataset.transaction().rollbackAndRestart();
}

void TTabXForm::AggiornamentoDaPulsante(db::EditableTable& dataset, Posizione& posizione,
                                        QAbstractButton* pulsante) {
  if (pulsante && pulsante->property("Tag").toInt() == 1) {
    const bool salva = ui::confirm(QStringLiteral(
        "Attenzione: sono state fatte delle modifiche che non sono state ancora salvate. Prima di "
        "aggiornare la griglia si desidera salvare gli aggiornamenti?"));
    if (salva) {
      dataset.post();
      segnaPulsante(pulsante, false);
    } else {
      dataset.cancel();
      dataset.transaction().rollbackAndRestart();
    }
  }
  ChiudiTransEAggiorna(dataset, posizione, pulsante);
}

bool TTabXForm::EventoBeforeEditDataSet(db::EditableTable& dataset, QAbstractButton* pulsante,
                                        const QString& tabella) {
  // A dummy update of the key takes the row lock in this transaction and
  // keeps it until the save or the cancel; with no-wait transactions a row
  // another user holds fails at once.
  try {
    const QString colonna = chiave(dataset);
    const QString valore = core::sqlLiteral(dataset.value(dataset.field(0).name));
    esegui(dataset, {QStringLiteral("UPDATE ") + core::sqlIdentifier(tabella),
                     QStringLiteral("SET ") + colonna + '=' + valore,
                     QStringLiteral("WHERE ") + colonna + '=' + valore});
  } catch (const db::DbError&) {
    ui::warning(QStringLiteral(
        "Attenzione: altri utenti stanno lavorando su questo record. Provare ad aggiornare la "
        "griglia. Nel caso in cui questo messaggio riapparisse, provare ad editare il record in "
        "un secondo momento."));
    return false;
  }
  segnaPulsante(pulsante, true);
  return true;
}

bool TTabXForm::CreaGeneratore(db::EditableTable& dataset, Posizione& posizione,
                               const QString& nome, QAbstractButton* pulsante) {
  bool ok = true;
  try {
    esegui(dataset, {QStringLiteral("CREATE GENERATOR ") + core::sqlIdentifier(nome)});
    ChiudiTransEAggiorna(dataset, posizione, pulsante);
  } catch (const std::exception&) {
    ok = false;
  }
  return ok;
}

bool TTabXForm::SetGeneratore(db::EditableTable& dataset, Posizione& posizione, const QString& nome,
                              qint64 valore, QAbstractButton* pulsante) {
  bool ok = true;
  try {
    esegui(dataset, {QStringLiteral("SET GENERATOR ") + core::sqlIdentifier(nome) +
                     QStringLiteral(" TO ") + QString::number(valore) + ';'});
  } catch (const std::exception&) {
    ok = false;
  }
  try {
    ChiudiTransEAggiorna(dataset, posizione, pulsante);
  } catch (const db::DbError&) {
    ok = false;
  }
  return ok;
}

bool TTabXForm::CheckGeneratore(db::EditableTable& dataset, const QString& nome) {
  db::Query query(dataset.database(), dataset.transaction());
  query.sql << QStringLiteral("SELECT RDB$GENERATOR_NAME") << QStringLiteral("FROM RDB$GENERATORS")
            << QStringLiteral("WHERE RDB$GENERATOR_NAME='") + core::sqlValue(nome) +
                   QStringLiteral("';");
  query.open();
  return !query.isEmpty();
}

QString TTabXForm::ValoreGeneratore(const QString& nome) {
  db::Query query(IBDatabase1, IBTransaction1);
  query.sql << QStringLiteral("SELECT GEN_ID(") + core::sqlIdentifier(nome) +
                   QStringLiteral(",1) FROM RDB$DATABASE;");
  query.open();
  return query.text(query.field(0).name);
}

void TTabXForm::IniScriptForm(const QString& progetto, const QString& form, const QString& contesto,
                              const QString& utente, const QString& script,
                              const QString& sovrascrivi) {
  const QStringList condizione{
      QStringLiteral("WHERE (PROGETTO=") + core::sqlString(progetto) + ")AND",
      QStringLiteral("(SCRIPTFORM=") + core::sqlString(form) + ")AND",
      QStringLiteral("(CONTESTO=") + core::sqlString(contesto) + ")AND",
      QStringLiteral("(UTENTE=") + core::sqlString(utente) + ");"};
  const QString oggi = core::sqlDateLiteral(QDate::currentDate());
  TransazioneUser.ensureStarted();
  db::Query query(IBDatabaseUser, TransazioneUser);
  query.sql << QStringLiteral("SELECT * FROM TABSCRIPT") << condizione;
  query.open();
  const bool esiste = !query.isEmpty();
  const bool vuoto = esiste && query.text(QStringLiteral("SCRIPT")).isEmpty();
  query.close();
  if (!esiste) {
    query.sql = QStringList{QStringLiteral("INSERT INTO TABSCRIPT"),
                            QStringLiteral("VALUES (") + core::sqlString(progetto) + ',' +
                                core::sqlString(form) + ',' + core::sqlString(contesto) + ',' +
                                core::sqlString(utente) + ",NULL," + core::sqlString(script) +
                                ",NULL," + oggi + ",NULL);"};
  } else if (vuoto || sovrascrivi == QLatin1String("1")) {
    query.sql = QStringList{QStringLiteral("UPDATE TABSCRIPT"),
                            QStringLiteral("SET SCRIPT=") + core::sqlString(script) + ',',
                            QStringLiteral("DATAULTIMAMODIFICA=") + oggi}
                << condizione;
  } else {
    return;
  }
  query.execSql();
  TransazioneUser.commit();
}
