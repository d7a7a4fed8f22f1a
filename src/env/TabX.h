#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>

#include "db/Database.h"
#include "db/MemTable.h"
#include "db/Query.h"
#include "db/Transaction.h"

class QAbstractButton;
class QWidget;

namespace db {
class EditableTable;
}

// Where a grid editing a table was: the key of its row and whether it is valid.
struct Posizione {
  QVariantList segnalibro;
  bool valida = false;
};

// The environment every window receives: who the user is and for which
// company, the database connections, the in-memory parameter table through
// which windows exchange settings and file paths, and the two persistent
// settings stores (the user's settings in the user database, the per-user
// parameter table TABX in the main database). A launch creates one, the
// window owns it, and destroying it closes every connection.
class TTabXForm : public QObject {
  Q_OBJECT

 public:
  // Where users and settings live: 0 the user database, 1 INI files, 3 nowhere
  // (a bare object with no user database).
  enum Mode : quint8 { ModoDatabase = 0, ModoFileIni = 1, ModoNudo = 3 };

  TTabXForm(QObject* owner, quint8 modoConfigurazione);
  ~TTabXForm() override;

  quint8 ModoConfigurazione() const { return modo_; }

  // Parameter table. Every argument is text; an empty one stores a null.
  void Inserisci(const QString& tipo, const QString& nome, const QString& numero,
                 const QString& testo, const QString& data, const QString& memo,
                 const QString& livello1, const QString& livello2, const QString& utente);
  QString GetV(const QString& nome) const;
  bool SetV(const QString& nome, const QString& valore);
  QString GetM(const QString& nome) const;
  bool SetM(const QString& nome, const QString& valore);

  // User identity.
  void SetUserPerNum(int n);
  void SetUserPerNome(const QString& nome);
  int GetNumUser() const { return userNumber_; }
  QString GetNomeUser() const { return userName_; }
  void CaricaUser(QStringList& lista);
  bool VerificaPasswordUser(const QString& nome, const QString& password);
  QString DecodificaNomeUser(const QString& codice);
  int ProfiloSicurezzaUtente();
  QString Ditta;

  // Settings store.
  QString CaricaParametro(const QString& nome);
  void SettaParametro(const QString& nome, const QString& valore);
  void ScriviParametroVandel(const QString& sezione, const QString& nome, const QString& valore);
  void ScriviVandel(int n);
  void SettaFileIni(const QString& sezione, const QString& chiave, const QString& valore);
  void CaricaVandel() {}

  // TABX in the main database.
  QString ValoreTabX(const QString& nome, bool perUtente);
  QString ValoreMTabX(const QString& nome, bool perUtente);
  bool SettaValoreTabX(const QString& nome, const QString& valore, bool perUtente);
  bool SettaValoreMTabX(const QString& nome, const QString& valore, bool perUtente);
  bool VerificaEsistenzaInTabX(const QString& progetto, const QString& situazione,
                               const QString& nome);
  bool AggiungiParametroInTabX(const QString& progetto, const QString& situazione,
                               const QString& nome, const QString& numero, const QString& testo,
                               const QString& data, const QString& memo, const QString& livello1,
                               const QString& livello2);
  bool ScriviParametroInTabX(const QString& progetto, const QString& situazione,
                             const QString& nome, const QString& numero, const QString& testo,
                             const QString& data, const QString& memo);
  bool CaricaParametroDaTabX(const QString& progetto, const QString& situazione,
                             const QString& nome);
  void AggiornaParametriTabX();

  // Connections: the path (or the parameter-table entry naming it) is split
  // into directory and file and opened with ApriDatabase, never created. An
  // empty or relative path is refused. False after "Errore apertura archivio".
  bool ConnettiDatabase0(const QString& percorso);
  bool ConnettiDatabase1(const QString& nome);
  bool ConnettiDatabase2(const QString& nome);
  bool ConnettiDatabase3(const QString& nome);
  bool ConnettiDatabase4(const QString& nome);
  bool ConnettiDatabase5(const QString& nome);

  // Table maintenance for windows that edit a table in a grid with a save
  // button (its "Tag" property 0 when saved, 1 with changes pending; its icon
  // the green or red glyph). The button may be null.
  void AggiornaTabella(db::EditableTable& dataset, const QVariantList& segnalibro, bool valido);
  void ChiudiTransazione(db::EditableTable& dataset, Posizione& posizione,
                         QAbstractButton* pulsante);
  void ChiudiTransEAggiorna(db::EditableTable& dataset, Posizione& posizione,
                            QAbstractButton* pulsante);
  void NuovoIntSuLast(db::EditableTable& dataset, Posizione& posizione, QAbstractButton* pulsante);
  void NuovoIntSuMax(db::EditableTable& dataset, Posizione& posizione, const QString& tabella,
                     QAbstractButton* pulsante);
  void NuovoIntSuGeneratore(db::EditableTable& dataset, Posizione& posizione,
                            const QString& generatore, QAbstractButton* pulsante);
  void NuovoIntSuGenSQL(db::EditableTable& dataset, Posizione& posizione, const QString& generatore,
                        const QString& tabella, QAbstractButton* pulsante);
  void Annulla(db::EditableTable& dataset, Posizione& posizione, QAbstractButton* pulsante);
  bool Elimina(db::EditableTable& dataset, Posizione& posizione, QAbstractButton* pulsante);
  void Azzera(db::EditableTable& dataset, Posizione& posizione, const QString& tabella,
              QAbstractButton* pulsante);
  void Chiudi(db::EditableTable& dataset, QAbstractButton* pulsante);
  void AggiornamentoDaPulsante(db::EditableTable& dataset, Posizione& posizione,
                               QAbstractButton* pulsante);
  // Hooked before a row is edited: locks the row or refuses the edit.
  bool EventoBeforeEditDataSet(db::EditableTable& dataset, QAbstractButton* pulsante,
                               const QString& tabella);
  bool CreaGeneratore(db::EditableTable& dataset, Posizione& posizione, const QString& nome,
                      QAbstractButton* pulsante);
  bool SetGeneratore(db::EditableTable& dataset, Posizione& posizione, const QString& nome,
                     qint64 valore, QAbstractButton* pulsante);
  bool CheckGeneratore(db::EditableTable& dataset, const QString& nome);
  QString ValoreGeneratore(const QString& nome);
  void IniScriptForm(const QString& progetto, const QString& form, const QString& contesto,
                     const QString& utente, const QString& script, const QString& sovrascrivi);

  bool ScritturaHandleDiApertura(int idFinestra, qint64 handle);
  void AvviaFunzXDll(const QString& libreria, const QString& funzione, int argomento);
  // Prints a dataset through the sibling print library "Vopra": the title and
  // report name go into the entries "TitoloStampa" and "NomeReport" (where
  // they exist), a query goes to ShowVopra11FormD, an in-memory table to
  // ShowVopra11MemFormD. A missing library or function is passed over.
  void LanciaStampaConDll(const QString& titolo, const QString& nomeReport, db::DataSet* dataset);

  void SetVerde(const QString& file) { FileVerde = file; }
  void SetRosso(const QString& file) { FileRosso = file; }
  QString FileVerde;
  QString FileRosso;

  // Components, in the order they are built (and the reverse of their
  // destruction: queries before transactions before connections).
  db::MemTable MemTabX;
  db::Database IBDatabase1;
  db::Database IBDatabase2;
  db::Database IBDatabase3;
  db::Database IBDatabase4;
  db::Database IBDatabase5;
  db::Database IBDatabaseUser;
  db::Transaction IBTransaction1;
  db::Transaction IBTransaction2;
  db::Transaction IBTransaction3;
  db::Transaction IBTransaction4;
  db::Transaction IBTransaction5;
  db::Transaction TransazioneUser;
  db::Query QueryVandel;

  // The stored path of the per-user INI file of mode 1 and of the user list.
  QString fileIniUtente() const;
  QString fileIniUtenti() const;

 private:
  bool connetti(db::Database& database, const QString& percorso);
  void segnaPulsante(QAbstractButton* pulsante, bool modificato) const;
  // Runs QueryVandel with the given lines and returns the first column of
  // the first row, empty when there is none or the statement fails.
  QString primoValoreUtenti(const QStringList& lines);
  bool scriviTabX(const QString& colonna, const QString& nome, const QString& valore,
                  bool perUtente);
  QString leggiTabX(const QString& colonna, const QString& nome, bool perUtente);
  int cercaVoce(const QString& nome) const;
  QString leggiVoce(const QString& nome, const QString& campo) const;
  bool scriviVoce(const QString& nome, const QString& campo, const QVariant& valore);
  QString utente() const { return QString::number(userNumber_); }

  quint8 modo_;
  int userNumber_ = 0;
  QString userName_;
  QString userPassword_;
};
