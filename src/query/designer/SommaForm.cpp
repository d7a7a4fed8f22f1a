#include "query/designer/SommaForm.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "db/DbError.h"
#include "db/Query.h"
#include "query/engine/AnswerAggregates.h"
#include "query/engine/DigitGrouping.h"
#include "query/engine/SortAndTotals.h"
#include "ui/Prompter.h"

TSommaForm::TSommaForm(const QString& ditta, const QString& binDir, const QString& baseDir,
                       db::Query& answer, QWidget* parent)
    : ui::ModalDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                  Qt::WindowCloseButtonHint),
      answer_(answer),
      ditta_(ditta),
      binDir_(binDir),
      baseDir_(baseDir),
      editCampi_(new QComboBox(this)),
      calcola_(new QPushButton(QStringLiteral("&Calcola somma"), this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)) {
  setObjectName(QStringLiteral("SommaForm"));
  setWindowTitle(QStringLiteral("Calcolo somma"));
  editCampi_->setObjectName(QStringLiteral("EditCampi"));
  calcola_->setObjectName(QStringLiteral("ButtonCalcola"));
  ok_->setObjectName(QStringLiteral("ButtonOk"));
  calcola_->setDefault(true);
  ok_->setAutoDefault(false);
  setCancelButton(ok_);

  // Each entry carries its column's position in the answer.
  for (int i = 0; i < answer_.fieldCount(); ++i)
    if (query::engine::summable(answer_.field(i).type))
      editCampi_->addItem(answer_.field(i).name, i);
  editCampi_->setMinimumWidth(220);

  auto* caption = new QLabel(QStringLiteral("Selezionare il campo da sommare:"), this);
  caption->setBuddy(editCampi_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(calcola_);
  buttons->addStretch();
  buttons->addWidget(ok_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(caption);
  layout->addWidget(editCampi_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  setFirstFocus(editCampi_);

  connect(calcola_, &QPushButton::clicked, this, [this] { ButtonCalcolaClick(); });
  connect(ok_, &QPushButton::clicked, this, [this] { done(ui::ResultOk); });
}

void TSommaForm::ButtonCalcolaClick() {
  if (editCampi_->currentIndex() < 0) return;
  try {
    const double total = query::engine::sumColumn(answer_, editCampi_->currentData().toInt());
    ui::plain(query::engine::groupedNumber(total, 2, QLocale()));
  } catch (const db::DbError& failure) {
    ui::error(failure.text());
  }
}
