#include "grid/GenTabStForm.h"

#include "core/IniFile.h"
#include "core/Paths.h"
#include "platform/localstore/LocalTableState.h"

using platform::localstore::ColumnType;
using platform::localstore::LocalTable;

namespace {

const QString kTestate = QStringLiteral("TESTATT.DB");
const QString kRighe = QStringLiteral("RIGHET.DB");

QString withBackslash(QString directory) {
  if (!directory.isEmpty() && !directory.endsWith(QLatin1Char('\\')))
    directory += QLatin1Char('\\');
  return directory;
}

}  // namespace

QString rigaRiempimento(const QString& riga) {
  QString filler = riga;
  for (QChar& c : filler)
    if (c != QLatin1Char('|')) c = QLatin1Char(' ');
  return filler;
}

TGenTabStForm::TGenTabStForm(const QStringList& intestazione, bool numeraPagine,
                             const QString& sezione, const QString& directoryBase)
    : intestazione_(intestazione), numeraPagine_(numeraPagine) {
  while (intestazione_.size() < 5) intestazione_ << QString();
  bool number = false;
  const int righe = core::IniFile(core::windowsDirectory() + QStringLiteral("vandel.ini"))
                        .read(sezione, QStringLiteral("RigheStampaQuery"), QStringLiteral("50"))
                        .trimmed()
                        .toInt(&number);
  righePerPagina_ = number ? righe : kRighePredefinite;

  const QString base = withBackslash(directoryBase) + QStringLiteral("STAMPE\\TEXT\\");
  testate_ = std::make_unique<LocalTable>(base + QStringLiteral("TESTATT"), kTestate);
  testate_->setColumns({{QStringLiteral("NumeroPagina"), ColumnType::SmallInt, 0, false}});
  testate_->setIndexFields({QStringLiteral("NumeroPagina")});
  righe_ = std::make_unique<LocalTable>(base + QStringLiteral("RIGHET"), kRighe);
  // The text keeps every character: the store has no length to cut at.
  righe_->setColumns({{QStringLiteral("NumeroPagina"), ColumnType::SmallInt, 0, false},
                      {QStringLiteral("NumeroRiga"), ColumnType::Float, 0, false},
                      {QStringLiteral("TipoRiga"), ColumnType::SmallInt, 0, false},
                      {QStringLiteral("Descrizione"), ColumnType::Text, 0, false}});
  righe_->setIndexFields({QStringLiteral("NumeroPagina"), QStringLiteral("NumeroRiga")});
  if (!prepara(*testate_) || !prepara(*righe_)) return;
  if (!testate_->beginBatch() || !righe_->beginBatch()) {
    fail(*testate_);
    return;
  }
  iniziaPagina();
  for (int i = 0; i < 5 && ok(); ++i) scriviRiga(intestazione_.at(i));
}

TGenTabStForm::~TGenTabStForm() {
  for (LocalTable* table : {testate_.get(), righe_.get()}) {
    table->commitBatch();
    table->close();
  }
  platform::localstore::dropAlternativeTable(*testate_, kTestate);
  platform::localstore::dropAlternativeTable(*righe_, kRighe);
}

bool TGenTabStForm::fail(const LocalTable& table) {
  if (error_.isEmpty())
    error_ = QStringLiteral("Errore sulla tabella %1: %2").arg(table.path(), table.lastError());
  return false;
}

bool TGenTabStForm::prepara(LocalTable& table) {
  // Failures here show when the table is taken.
  if (!table.exists()) platform::localstore::createWorkDirectory(table.directory());
  return platform::localstore::takeFreeTable(table) || fail(table);
}

bool TGenTabStForm::iniziaPagina() {
  ++pagina_;
  riga_ = 0;
  return testate_->append({pagina_}) || fail(*testate_);
}

bool TGenTabStForm::scriviRiga(const QString& testo) {
  ++riga_;
  return righe_->append({pagina_, double(riga_), QVariant(), testo}) || fail(*righe_);
}

bool TGenTabStForm::scriviPiede() {
  return scriviRiga(intestazione_.at(4)) &&
         scriviRiga(QStringLiteral("Pagina N%1 %2").arg(QChar(0x00B0)).arg(pagina_));
}

bool TGenTabStForm::AggiungiRiga(const QString& testo) {
  if (!ok()) return false;
  const int riserva = numeraPagine_ ? 2 : 0;
  if (riga_ >= righePerPagina_ - riserva) {
    if (numeraPagine_ && riga_ == righePerPagina_ - riserva && !scriviPiede()) return false;
    if (!iniziaPagina()) return false;
    for (int i = 0; i < 5; ++i)
      if (!scriviRiga(intestazione_.at(i))) return false;
  }
  return scriviRiga(testo);
}

bool TGenTabStForm::TerminaUltimaPagina() {
  if (!ok()) return false;
  const int riserva = numeraPagine_ ? 2 : 0;
  const int libere = righePerPagina_ - riga_ - riserva;
  const QString riempimento = rigaRiempimento(intestazione_.at(3));
  for (int i = 0; i < libere; ++i)
    if (!scriviRiga(riempimento)) return false;
  if (numeraPagine_ && righePerPagina_ - riga_ >= 2 && !scriviPiede()) return false;
  if (!testate_->commitBatch()) return fail(*testate_);
  if (!righe_->commitBatch()) return fail(*righe_);
  return true;
}
