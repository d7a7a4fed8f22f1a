#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "platform/localstore/LocalTable.h"

// The text print generator: lays text lines out in pages of a fixed number
// of lines, each page opening with the five heading lines and, when pages
// are numbered, closing with heading line 5 and "Pagina N° " and its
// number. The pages go into the local table TESTATT (one row per page) and
// the lines into RIGHET (page, line number, text), under the base
// directory's STAMPE\TEXT\ folders, for a report to print. A table another
// user holds is replaced by the next free name (RIGHE01.DB), which is
// deleted when the generator ends; the usual tables stay, emptied at the
// next print.
class TGenTabStForm {
 public:
  static constexpr int kRighePredefinite = 50;

  // heading: the five heading lines; section: the settings section
  // (company) whose RigheStampaQuery gives the lines per page.
  TGenTabStForm(const QStringList& intestazione, bool numeraPagine, const QString& sezione,
                const QString& directoryBase);
  ~TGenTabStForm();
  TGenTabStForm(const TGenTabStForm&) = delete;
  TGenTabStForm& operator=(const TGenTabStForm&) = delete;

  // Appends one body line. False when the tables cannot be written (see
  // lastError()).
  bool AggiungiRiga(const QString& testo);
  // Fills the last page with blank ruled lines and its footer, and writes
  // what is pending.
  bool TerminaUltimaPagina();

  platform::localstore::LocalTable& TabellaTestate() { return *testate_; }
  platform::localstore::LocalTable& TabellaRighe() { return *righe_; }
  int righePerPagina() const { return righePerPagina_; }
  int paginaCorrente() const { return pagina_; }
  bool ok() const { return error_.isEmpty(); }
  const QString& lastError() const { return error_; }

 private:
  bool prepara(platform::localstore::LocalTable& table);
  bool iniziaPagina();
  bool scriviRiga(const QString& testo);
  bool scriviPiede();
  bool fail(const platform::localstore::LocalTable& table);

  QStringList intestazione_;
  bool numeraPagine_;
  int righePerPagina_ = kRighePredefinite;
  int pagina_ = 0;
  int riga_ = 0;
  std::unique_ptr<platform::localstore::LocalTable> testate_;
  std::unique_ptr<platform::localstore::LocalTable> righe_;
  QString error_;
};

// The filler line made from a heading line: its bars kept, every other
// character a blank.
QString rigaRiempimento(const QString& riga);
