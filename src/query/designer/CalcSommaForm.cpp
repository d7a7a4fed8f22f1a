#include "query/designer/CalcSommaForm.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <stdexcept>

#include "core/SqlText.h"
#include "db/FieldType.h"
#include "db/Query.h"
#include "ui/Prompter.h"

namespace {

// The column types a sum is offered for.
bool summable(db::FieldType type) {
  using T = db::FieldType;
  return type == T::SmallInt || type == T::Integer || type == T::Float || type == T::Bcd ||
         type == T::LargeInt;
}

}  // namespace

TCalcSommaForm::TCalcSommaForm(const QString& table, db::Database& database,
                               db::Transaction& transaction, QWidget* parent)
    : DesignerDialog(QStringLiteral("CalcSommaForm"), QStringLiteral("Inserimento somma"), parent,
                     QStringLiteral("Ok"), QStringLiteral("Cancel")),
      comboCampo_(new QComboBox(this)),
      editSomma_(new QLineEdit(QStringLiteral("Tot"), this)) {
  comboCampo_->setObjectName(QStringLiteral("ComboCampo"));
  editSomma_->setObjectName(QStringLiteral("EditSomma"));
  comboCampo_->setMinimumWidth(200);

  auto* boxes = new QGridLayout;
  boxes->addWidget(
      query::designer::focusCaption(QStringLiteral("Campo Da Sommare"),
                                    QStringLiteral("LabelCampoDaSommare"), comboCampo_, this),
      0, 0);
  boxes->addWidget(comboCampo_, 1, 0);
  boxes->addWidget(
      query::designer::focusCaption(QStringLiteral("Titolo Somma"),
                                    QStringLiteral("LabelTitoloSomma"), editSomma_, this),
      2, 0);
  boxes->addWidget(editSomma_, 3, 0);
  boxes->setRowStretch(4, 1);

  auto* explanation = new QLabel(QStringLiteral("Il raggruppamento corrente è legato \n"
                                                "al numero di campi evidenziati.\n"
                                                "Otteremo una somma per ogni linea \n"
                                                "di raggruppamento. Più sono e più \n"
                                                "variano i valori dei campi evidenziati \n"
                                                "più linee di raggruppamento \n"
                                                "saranno presenti nella rispota \n"
                                                "della query"),
                                 this);
  explanation->setObjectName(QStringLiteral("LabelSpiegazione"));

  auto* row = new QHBoxLayout;
  row->addLayout(boxes);
  row->addSpacing(12);
  row->addWidget(explanation);
  contents()->addLayout(row);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  setFirstFocus(comboCampo_);

  listColumns(table, database, transaction);
}

void TCalcSommaForm::listColumns(const QString& table, db::Database& database,
                                 db::Transaction& transaction) {
  QStringList names;
  try {
    db::Query query(database, transaction);
    query.sql << QStringLiteral("SELECT * FROM ") + core::sqlIdentifier(table);
    // Preparing the statement describes its columns; no row is needed.
    query.describe();
    for (int i = 0; i < query.fieldCount(); ++i)
      if (summable(query.field(i).type)) names << query.field(i).name;
  } catch (const db::DbError& failure) {
    ui::error(failure.text());
  } catch (const std::invalid_argument& failure) {
    ui::error(QString::fromStdString(failure.what()));
  }
  names.sort(Qt::CaseInsensitive);
  comboCampo_->addItems(names);
  // Nothing chosen until the user chooses.
  comboCampo_->setCurrentIndex(-1);
}

void TCalcSommaForm::confirm() {
  if (comboCampo_->currentText().isEmpty() || editSomma_->text().isEmpty()) return;
  done(ui::ResultOk);
}
